#pragma once

#include <functional>
#include <string>
#include <vector>

// Every message box of the game goes through one process-wide hook. The window layer installs a hook
// that shows real boxes; without one, boxes go to standard error and are answered at once, so a
// headless run never blocks. Tests install a DialogRecorder.

enum class DialogKind { Error, Assertion, Question };
enum class DialogAnswer { Ok, Abort, Retry, Ignore, Yes, No };

struct DialogRequest {
    DialogKind kind = DialogKind::Error;
    std::string caption;
    std::string text;
};

using DialogHook = std::function<DialogAnswer(const DialogRequest&)>;

// Installs the hook every box goes through and returns the previous one; an empty hook restores the console default.
DialogHook SetDialogHook(DialogHook hook);

// Shows a box through the current hook and returns the answer.
DialogAnswer ShowDialog(const DialogRequest& request);

// Shows an "Error" box with an OK button.
void ShowErrorBox(const std::string& text);

// Asks a question with Yes and No buttons; true for Yes. Without a window the answer is No, so nothing is
// lost unasked.
bool AskYesNo(const std::string& caption, const std::string& text);

// Shows the "ASSERTION FAILURE" box. Abort ends the process with status 255, Retry traps into an attached
// debugger (and otherwise acts as Ignore); returns once the game should go on.
void ShowAssertionBox(const std::string& text);

// Shows the "ASSERTION FAILURE" box when the condition is false; returns the condition.
bool CheckOrAssert(bool condition, const std::string& text);

// Returns true when a debugger is tracing this process.
bool DebuggerAttached();

// The console default: writes the box to standard error and answers OK (errors), Ignore (assertions) or No
// (questions).
DialogAnswer ConsoleDialog(const DialogRequest& request);

// Records every box shown while it lives and answers assertions with the given answer; restores the previous hook.
class DialogRecorder {
public:
    explicit DialogRecorder(DialogAnswer assertionAnswer = DialogAnswer::Ignore);
    ~DialogRecorder();
    DialogRecorder(const DialogRecorder&) = delete;
    DialogRecorder& operator=(const DialogRecorder&) = delete;

    // Questions are answered with this (No until set).
    void AnswerQuestions(DialogAnswer answer) { questionAnswer_ = answer; }

    const std::vector<DialogRequest>& shown() const { return shown_; }
    // True when some box carried exactly this text.
    bool sawText(const std::string& text) const;
    // Number of boxes of the given kind.
    int count(DialogKind kind) const;
    void clear() { shown_.clear(); }

private:
    std::vector<DialogRequest> shown_;
    DialogAnswer assertionAnswer_;
    DialogAnswer questionAnswer_ = DialogAnswer::No;
    DialogHook previous_;
};
