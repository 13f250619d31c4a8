// SPDX-License-Identifier: MIT
// Costs of the transformations, the declarations and the judgement at growing sizes: each
// should grow in step with its input.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "app/switches.h"
#include "app/transform.h"
#include "core/library.h"
#include "core/validation.h"

namespace {

std::string Words(std::size_t bytes) {
  std::string text;
  while (text.size() + 5 <= bytes) text += "Word ";
  return text;
}

void BM_ToProperCase(benchmark::State& state) {
  const std::string text = Words(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(app::ToProperCase(text, app::ProperCaseDelims));
  state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ToProperCase)->Range(1 << 10, 128 << 10);

void BM_ReverseWords(benchmark::State& state) {
  const std::string text = Words(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(app::ReverseWords(text, app::BasicWordDelims));
  state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ReverseWords)->Range(1 << 10, 128 << 10);

void BM_InvertCase(benchmark::State& state) {
  const std::string text = Words(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(app::InvertCase(text));
  state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_InvertCase)->Range(1 << 10, 128 << 10);

// The shapes of a long command line: -u pairs with one repeated value, with values that share
// their prefixes (v0, v1, ...), with random 12-letter values, and bare words that no switch
// takes. The last three all go into the unique-argument list.
enum TShape : std::int64_t { shRepeated, shOrdered, shRandom, shInvalid };

std::string RandomWord(std::mt19937& random, std::size_t length) {
  std::string word;
  for (std::size_t i = 0; i < length; ++i) word.push_back(static_cast<char>('a' + random() % 26));
  return word;
}

core::TStringArray Line(std::size_t count, TShape shape) {
  std::mt19937 random(static_cast<std::mt19937::result_type>(count));
  core::TStringArray args;
  for (std::size_t i = 0; i < count; ++i) {
    if (shape == shInvalid) {
      args.push_back(RandomWord(random, 8));
      continue;
    }
    args.emplace_back("-u");
    if (shape == shRepeated) {
      args.emplace_back("x");
    } else if (shape == shOrdered) {
      // Appended rather than "v" + text: GCC 12 warns falsely (-Wrestrict) on that operator+.
      args.emplace_back(1, 'v');
      args.back() += std::to_string(i);
    } else {
      args.push_back(RandomWord(random, 12));
    }
  }
  return args;
}

void Declare(const core::TStringArray& args) {
  core::TStartUpRec start;
  start.Arguments = args;
  core::StartUp(std::move(start));
  app::SetUpSwitchStyle();
  core::DeclareRows(app::Switches);
}

void BM_Declarations(benchmark::State& state) {
  const core::TStringArray args =
      Line(static_cast<std::size_t>(state.range(0)), static_cast<TShape>(state.range(1)));
  for (auto _ : state) {
    Declare(args);
    app::ResetSwitches();
    core::ShutDown();
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_Declarations)
    ->ArgNames({"n", "shape"})
    ->ArgsProduct({{1 << 12, 1 << 14, 1 << 16}, {shRepeated, shRandom}});

void BM_Validation(benchmark::State& state) {
  const core::TStringArray args =
      Line(static_cast<std::size_t>(state.range(0)), static_cast<TShape>(state.range(1)));
  for (auto _ : state) {
    state.PauseTiming();
    Declare(args);
    state.ResumeTiming();
    core::GetParamStatistics(core::CustomSyntaxStats, core::ParamStatus,
                             "U UPPER L LOWER P PROPER I INVERT M MIRROR W REVERSE-WORDS", true, -1,
                             -1);
    state.PauseTiming();
    app::ResetSwitches();
    core::ShutDown();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_Validation)
    ->ArgNames({"n", "shape"})
    ->ArgsProduct({{1 << 12, 1 << 14, 1 << 16}, {shRepeated, shOrdered, shRandom, shInvalid}});

}  // namespace

BENCHMARK_MAIN();
