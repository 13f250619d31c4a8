// SPDX-License-Identifier: MIT
// Costs of the transformations, the declarations and the judgement at growing sizes: each
// should grow in step with its input.
#include <benchmark/benchmark.h>

#include <string>
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

// Pairs of -u and a value; distinct values exercise the unique-argument list.
core::TStringArray Pairs(std::size_t count, bool distinct) {
  core::TStringArray args;
  for (std::size_t i = 0; i < count; ++i) {
    args.emplace_back("-u");
    args.push_back(distinct ? "v" + std::to_string(i) : "x");
  }
  return args;
}

void Declare(const core::TStringArray& args) {
  core::TStartUpRec start;
  start.Arguments = args;
  core::StartUp(std::move(start));
  app::SetUpSwitchStyle();
  app::DeclareSwitches();
}

void BM_Declarations(benchmark::State& state) {
  const core::TStringArray args = Pairs(static_cast<std::size_t>(state.range(0)), false);
  for (auto _ : state) {
    Declare(args);
    app::ResetSwitches();
    core::ShutDown();
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_Declarations)->RangeMultiplier(4)->Range(1 << 10, 64 << 10);

void BM_Validation(benchmark::State& state) {
  const core::TStringArray args = Pairs(static_cast<std::size_t>(state.range(0)), true);
  for (auto _ : state) {
    state.PauseTiming();
    Declare(args);
    state.ResumeTiming();
    core::GetParamStatistics(core::CustomSyntaxStats, core::ParamStatus,
                             "U UPPER L LOWER P PROPER I INVERT M MIRROR W REVERSE-WORDS", true,
                             -1, -1);
    state.PauseTiming();
    app::ResetSwitches();
    core::ShutDown();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_Validation)->RangeMultiplier(4)->Range(1 << 10, 64 << 10);

}  // namespace

BENCHMARK_MAIN();
