// SPDX-License-Identifier: MIT
// The library's lifecycle: every variable gets its initial value here and is released here.
#include "core/library.h"

#include <utility>

#include "core/banner.h"
#include "core/text.h"
#include "core/validation.h"

namespace core {

int ExitCode = 0;
std::string ExecutableFullPath;
bool HelpRequested = false;
bool BannerAllowed = true;
int SyntaxReportStyle = 0;

namespace {

// Assigning fresh objects, rather than clearing, also gives their memory back.
void ResetVariables() {
  ResetValidationState();
  ExitCode = 0;
  OutputChannel = TTextChannel{platform::stdOutput, nullptr};
  ErrorChannel = TTextChannel{platform::stdError, nullptr};
  ExecutionPath = std::string{};
  CommandLineText = std::string{};
  InvokedName.reset();
  ErrorDelay = false;
  AudibleError = false;
  ExecutableFullPath = std::string{};
  ParamStatus = TParamStatusArray{};
  ResetParamEngine();
  FindHistory = TParamRecArray{};
  SwitchStyle = ssPlain;
  RequireDoubleDash = true;
  RecordFindHistory = false;
  ParamFlags = 0;
  DeclaredSwitches = std::string{};
  for (TFindParamRec* rec :
       {&DebugModeParam, &SpareParam, &ErrorDelayParam, &AudibleErrorParam, &HelpParam,
        &VerboseParam, &VersionOnlyParam, &BannerParam, &InfoParam}) {
    *rec = TFindParamRec{};
  }
  HelpRequested = false;
  BannerAllowed = true;
  SyntaxReportStyle = 0;
  ResetBannerState();
}

}  // namespace

void StartUp(TStartUpRec start) {
  ResetVariables();
  OutputChannel = start.Output;
  ErrorChannel = start.Error;
  ExecutableFullPath = std::move(start.ExecutablePath);
  ExecutionPath = QuoteIfNeeded(DirectoryOf(ExecutableFullPath));
  CommandLineText = std::move(start.CommandLine);
  InvokedName = std::move(start.Invoked);
  ParamStatus = BuildParamStatus(std::move(start.Arguments));
  FindHistory = NewParamRecArray(0);
  ResetStatistics(CustomSyntaxStats, "Custom Syntax Validation Record");
  ResetStatistics(DefaultSyntaxStats, "Default Syntax Validation Record");
}

void ShutDown() { ResetVariables(); }

}  // namespace core
