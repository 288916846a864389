#include "platform/Dialog.h"

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string_view>

namespace {

DialogHook& CurrentHook() {
    static DialogHook hook;
    return hook;
}

} // namespace

DialogAnswer ConsoleDialog(const DialogRequest& request) {
    std::fprintf(stderr, "[%s] %s\n", request.caption.c_str(), request.text.c_str());
    std::fflush(stderr);
    switch (request.kind) {
    case DialogKind::Assertion:
        return DialogAnswer::Ignore;
    case DialogKind::Question:
        return DialogAnswer::No;
    default:
        return DialogAnswer::Ok;
    }
}

bool AskYesNo(const std::string& caption, const std::string& text) {
    return ShowDialog({DialogKind::Question, caption, text}) == DialogAnswer::Yes;
}

DialogHook SetDialogHook(DialogHook hook) {
    DialogHook previous = std::move(CurrentHook());
    CurrentHook() = std::move(hook);
    return previous;
}

DialogAnswer ShowDialog(const DialogRequest& request) {
    const DialogHook& hook = CurrentHook();
    return hook ? hook(request) : ConsoleDialog(request);
}

void ShowErrorBox(const std::string& text) {
    ShowDialog({DialogKind::Error, "Error", text});
}

void ShowAssertionBox(const std::string& text) {
    switch (ShowDialog({DialogKind::Assertion, "ASSERTION FAILURE", text})) {
    case DialogAnswer::Abort:
        std::exit(255);
    case DialogAnswer::Retry:
        if (DebuggerAttached()) {
            std::raise(SIGTRAP);
        }
        break;
    default:
        break;
    }
}

bool CheckOrAssert(bool condition, const std::string& text) {
    if (!condition) {
        ShowAssertionBox(text);
    }
    return condition;
}

bool DebuggerAttached() {
    std::ifstream status("/proc/self/status");
    std::string line;
    constexpr std::string_view key = "TracerPid:";
    while (std::getline(status, line)) {
        if (line.compare(0, key.size(), key) == 0) {
            return std::atoi(line.c_str() + key.size()) != 0;
        }
    }
    return false;
}

DialogRecorder::DialogRecorder(DialogAnswer assertionAnswer) : assertionAnswer_(assertionAnswer) {
    previous_ = SetDialogHook([this](const DialogRequest& request) {
        shown_.push_back(request);
        switch (request.kind) {
        case DialogKind::Assertion:
            return assertionAnswer_;
        case DialogKind::Question:
            return questionAnswer_;
        default:
            return DialogAnswer::Ok;
        }
    });
}

DialogRecorder::~DialogRecorder() {
    SetDialogHook(std::move(previous_));
}

bool DialogRecorder::sawText(const std::string& text) const {
    return std::any_of(shown_.begin(), shown_.end(), [&](const DialogRequest& r) { return r.text == text; });
}

int DialogRecorder::count(DialogKind kind) const {
    return static_cast<int>(
        std::count_if(shown_.begin(), shown_.end(), [&](const DialogRequest& r) { return r.kind == kind; }));
}
