#include "binding/operator_choice.h"

#include <memory>
#include <QAbstractButton>
#include <QCheckBox>
#include <QRadioButton>

namespace {
int showingDepth = 0; // one thread: the user-interface thread

struct ChoiceState {
    bool pressing = false; // between pressed and released: the click reports the choice
    bool running = false;  // the rule runs now
};
} // namespace

QvShowingValues::QvShowingValues() {
    ++showingDepth;
}

QvShowingValues::~QvShowingValues() {
    --showingDepth;
}

bool QvShowingValues::active() {
    return showingDepth > 0;
}

void QvOnChoice(QAbstractButton* button, QObject* context, std::function<void()> chosen) {
    auto state = std::make_shared<ChoiceState>();
    const auto choose = [state, chosen = std::move(chosen)] {
        if (state->running)
            return;
        state->running = true;
        chosen();
        state->running = false;
    };
    // A click toggles between pressed and released and reports itself afterwards; whatever way
    // it came (mouse, keys, an assistive tool's press), it is one choice.
    QObject::connect(button, &QAbstractButton::pressed, context,
                     [state] { state->pressing = true; });
    QObject::connect(button, &QAbstractButton::released, context,
                     [state] { state->pressing = false; });
    QObject::connect(button, &QAbstractButton::clicked, context, [state, choose] {
        state->pressing = false;
        choose();
    });
    // A check box's state may also move between "no choice" and checked, which no toggle tells.
    if (auto* box = qobject_cast<QCheckBox*>(button)) {
        QObject::connect(box, &QCheckBox::stateChanged, context, [state, box, choose](int) {
            if (state->pressing || QvShowingValues::active() || !box->isVisible())
                return;
            choose();
        });
        return;
    }
    QObject::connect(button, &QAbstractButton::toggled, context, [state, button, choose](bool on) {
        if (state->pressing || QvShowingValues::active() || !button->isVisible())
            return;
        if (!on && qobject_cast<QRadioButton*>(button))
            return;
        choose();
    });
}
