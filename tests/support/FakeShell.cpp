#include "tests/support/FakeShell.h"

FakeShell::FakeShell()
    : mState(std::make_shared<State>()), mScope([state = mState](const QString& commandLine) {
          std::function<void(const QString&)> hook;
          {
              std::lock_guard lock(state->mutex);
              state->commands.append(commandLine);
              hook = state->hook;
          }
          if (hook) {
              hook(commandLine);
          }
          std::lock_guard lock(state->mutex);
          return state->answers.value(commandLine, state->others);
      }) {}

void FakeShell::answer(const QString& commandLine, int exitStatus, const QString& output) {
    std::lock_guard lock(mState->mutex);
    mState->answers.insert(commandLine, fw::ShellOutcome{exitStatus, output});
}

void FakeShell::answerOthers(int exitStatus, const QString& output) {
    std::lock_guard lock(mState->mutex);
    mState->others = fw::ShellOutcome{exitStatus, output};
}

void FakeShell::beforeAnswer(std::function<void(const QString&)> hook) {
    std::lock_guard lock(mState->mutex);
    mState->hook = std::move(hook);
}

QStringList FakeShell::commands() const {
    std::lock_guard lock(mState->mutex);
    return mState->commands;
}
