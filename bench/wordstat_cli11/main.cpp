// A yardstick, never part of the product: the library guide's Wordstat written on CLI11 as an
// ordinary developer would, which bench/yardstick.sh times against examples/wordstat/main.cpp.
// Same switches, the same output on the same valid command lines and, where CLI11 tells the
// cases apart, the same exit codes. Where CLI11 decides otherwise: a flag may repeat, -ctext and
// `--` are taken, a switch right after -c or -w is its text, and a missing value is reported
// before the help is shown.
#include <CLI/CLI.hpp>
#include <cerrno>
#include <cstddef>
#include <cstring>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr int ExitMissingEssential = 64;
constexpr int ExitInvalidParams = 65;
constexpr int ExitIncompleteParams = 67;
constexpr int ExitIoError = 74;
constexpr int ExitHelpRequested = 255;

// UTF-8: every byte but a continuation byte begins a character.
std::size_t Characters(std::string_view text) {
  std::size_t count = 0;
  for (const char c : text) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return count;
}

std::size_t Words(std::string_view text) {
  std::size_t count = 0;
  bool inside = false;
  for (const char c : text) {
    const bool blank = c == ' ' || c == '\t';
    count += !blank && !inside;
    inside = !blank;
  }
  return count;
}

// CLI11 takes --words=text and -wtext; the guide's tool also takes -w=text, -c:text and
// --words:text, which become those.
std::string Attached(std::string arg) {
  if (arg.size() >= 3 && arg[0] == '-' && arg[1] != '-' && (arg[2] == ':' || arg[2] == '=')) {
    arg.erase(2, 1);
  } else if (arg.starts_with("--")) {
    const std::size_t colon = arg.find(':');
    if (colon != std::string::npos && colon < arg.find('=')) arg[colon] = '=';
  }
  return arg;
}

// The guide's tool takes an empty text for a missing one.
const CLI::Validator NonEmpty(
    [](const std::string& text) {
      return text.empty() ? std::string("empty text") : std::string();
    },
    "", "non-empty");

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"Count the characters and words of texts", "Wordstat"};
  app.option_defaults()->ignore_case();  // -C, --CHARS, -H
  app.set_help_flag("-h,-?,--help", "Show this help");
  app.allow_windows_style_options();  // /c text, /c:text

  std::vector<std::string> char_texts, word_texts;
  const CLI::Option* chars_option =
      app.add_option("-c,--chars", char_texts, "Count the characters of <text>")
          ->type_name("<text>")
          ->allow_extra_args(false)  // one text after each -c
          ->check(NonEmpty);
  const CLI::Option* words_option =
      app.add_option("-w,--words", word_texts, "Count the words of <text>")
          ->type_name("<text>")
          ->allow_extra_args(false)
          ->check(NonEmpty);
  bool verbose = false, banner = false, summary = false, quiet = false;
  app.add_flag("-v,--verbose", verbose, "Show the build");
  app.add_flag("-b,--banner", banner, "Show the banner");
  app.add_flag("-s,--summary", summary, "End with the totals");
  app.add_flag("-q,--quiet", quiet, "Write the totals only");

  // CLI11 takes the arguments last first.
  std::vector<std::string> args;
  args.reserve(static_cast<std::size_t>(argc));
  for (int i = argc - 1; i > 0; --i) args.push_back(Attached(argv[i]));
  try {
    app.parse(args);
  } catch (const CLI::ParseError& e) {
    const int code = app.exit(e);
    switch (static_cast<CLI::ExitCodes>(e.get_exit_code())) {
      case CLI::ExitCodes::Success:  // the help
        return ExitHelpRequested;
      case CLI::ExitCodes::ExtrasError:
        return ExitInvalidParams;
      case CLI::ExitCodes::ArgumentMismatch:
      case CLI::ExitCodes::ValidationError:
        return ExitIncompleteParams;
      default:
        return code;
    }
  }
  if (char_texts.empty() && word_texts.empty()) {
    std::cerr << "Wordstat: -c <text> or -w <text> is required\n"
              << "Run with --help for more information.\n";
    return ExitMissingEssential;
  }

  if (banner || verbose) std::cerr << "Wordstat v1.0 - " << app.get_description() << "\n\n";
  if (verbose) std::cerr << "Wordstat v1.0.0.1 on CLI11 " << CLI11_VERSION << "\n\n";

  // The texts of both options in command-line order.
  std::size_t totals[2] = {};
  std::size_t next[2] = {};
  for (const CLI::Option* option : app.parse_order()) {
    if (option != chars_option && option != words_option) continue;
    const bool chars = option == chars_option;
    const std::string& text = chars ? char_texts[next[0]++] : word_texts[next[1]++];
    const std::size_t count = chars ? Characters(text) : Words(text);
    totals[chars ? 0 : 1] += count;
    if (quiet) continue;
    std::cout << (chars ? "chars " : "words ") << count << '\n';
  }
  if (summary || quiet) {
    std::cout << "total " << totals[0] << " chars, " << totals[1] << " words\n";
  }
  if (!std::cout.flush()) {
    std::cerr << "Wordstat: write error on standard output: " << std::strerror(errno) << '\n';
    return ExitIoError;
  }
  return 0;
}
