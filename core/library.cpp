// SPDX-License-Identifier: MIT
// The library's lifecycle: every variable gets its initial value here and is released here.
#include "core/library.h"

#include <utility>

namespace core {

TStringArray CommandArguments;
int ExitCode = 0;

namespace {

// Assigning fresh objects, rather than clearing, also gives their memory back.
void ResetVariables() {
  ExitCode = 0;
  OutputChannel = TTextChannel{platform::stdOutput, nullptr};
  ErrorChannel = TTextChannel{platform::stdError, nullptr};
  ErrorDelay = false;
  AudibleError = false;
  CommandArguments = TStringArray{};
  ParamStatus = TParamStatusArray{};
  FindHistory = TParamRecArray{};
  SwitchStyle = ssPlain;
  RequireDoubleDash = true;
  RecordFindHistory = false;
  ParamFlags = 0;
  DeclaredSwitches = std::string{};
  for (TFindParamRec* rec : {&DebugModeParam, &SpareParam, &ErrorDelayParam, &AudibleErrorParam,
                             &HelpParam, &VerboseParam, &VersionOnlyParam, &BannerParam,
                             &InfoParam}) {
    *rec = TFindParamRec{};
  }
}

}  // namespace

void StartUp(TStartUpRec start) {
  ResetVariables();
  OutputChannel = start.Output;
  ErrorChannel = start.Error;
  CommandArguments = std::move(start.Arguments);
  ParamStatus = BuildParamStatus();
  FindHistory = NewParamRecArray(0);
}

void ShutDown() { ResetVariables(); }

}  // namespace core
