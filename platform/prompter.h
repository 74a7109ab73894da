#pragma once
// Module-wide message boxes. The Qt prompter shows the standard message box; tests install a
// scripted prompter that records caption and text and returns prepared answers. No other code
// shows message boxes.
#include <QString>

namespace platform {

enum class Buttons { Ok, OkCancel };
enum class Answer { Ok, Cancel };

class Prompter {
public:
    virtual ~Prompter() = default;
    virtual Answer ask(const QString& caption, const QString& text, Buttons buttons) = 0;
    // A short beep (an edit refusing a keystroke).
    virtual void beep() = 0;
};

// The prompter in force: the Qt one unless a test installed another.
Prompter& prompter();
// Installs `p` (not owned; nullptr restores the Qt prompter).
void setPrompter(Prompter* p);

// Shorthands.
inline void message(const QString& caption, const QString& text) {
    prompter().ask(caption, text, Buttons::Ok);
}
inline bool confirm(const QString& caption, const QString& text) {
    return prompter().ask(caption, text, Buttons::OkCancel) == Answer::Ok;
}
inline void beep() {
    prompter().beep();
}

} // namespace platform
