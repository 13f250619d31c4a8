// SPDX-License-Identifier: MIT
// Fuzz target: the six transformations on any byte string, against their algebraic properties.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/transform.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Only ASCII letters may differ between a text and its case-changed form.
bool ChangesOnlyLetters(std::string_view before, std::string_view after) {
  for (std::size_t i = 0; i < before.size(); ++i) {
    if (before[i] != after[i] && !IsAsciiLetter(before[i])) return false;
  }
  return true;
}

void CheckReversedWords(std::string_view words) {
  if (words.empty()) return;
  fuzz::Require(static_cast<unsigned char>(words.front()) > 0x20 &&
                    static_cast<unsigned char>(words.back()) > 0x20,
                "ReverseWords is trimmed at both ends");
  fuzz::Require(words.find("  ") == std::string_view::npos,
                "ReverseWords joins with single spaces");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  const std::string upper = app::ToUpperCase(text);
  const std::string lower = app::ToLowerCase(text);
  const std::string inverted = app::InvertCase(text);
  const std::string mirrored = app::MirrorText(text);
  const std::string proper = app::ToProperCase(text, app::ProperCaseDelims);
  for (const std::string* result : {&upper, &lower, &inverted, &mirrored, &proper}) {
    fuzz::Require(result->size() == text.size(), "length-preserving operations keep the length");
  }
  fuzz::Require(ChangesOnlyLetters(text, upper) && ChangesOnlyLetters(text, lower) &&
                    ChangesOnlyLetters(text, inverted),
                "case operations change ASCII letters only");
  fuzz::Require(app::ToUpperCase(upper) == upper, "ToUpperCase is idempotent");
  fuzz::Require(app::ToLowerCase(lower) == lower, "ToLowerCase is idempotent");
  fuzz::Require(app::InvertCase(inverted) == text, "InvertCase twice is the identity");
  fuzz::Require(app::MirrorText(mirrored) == text, "MirrorText twice is the identity");

  CheckReversedWords(app::ReverseWords(text, app::BasicWordDelims));
  CheckReversedWords(app::ReverseWords(text, app::ExtendedWordDelims));
  return 0;
}
