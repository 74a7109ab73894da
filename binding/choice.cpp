#include "binding/choice.h"

#include "binding/radio_group.h"
#include "snmplib/error_codes.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>

namespace qv {

bool HasChoice(const QWidget* control) {
    if (auto combo = qobject_cast<const QComboBox*>(control))
        return combo->currentIndex() >= 0;
    if (auto group = qobject_cast<const QvRadioGroup*>(control))
        return group->currentIndex() >= 0;
    if (auto box = qobject_cast<const QCheckBox*>(control))
        return box->checkState() != Qt::PartiallyChecked;
    return true;
}

void ShowNoChoice(QCheckBox* box) {
    // The third state is only shown, never offered: once left it does not come back by clicks.
    if (!box->property("kwNoChoiceWatch").toBool()) {
        box->setProperty("kwNoChoiceWatch", true);
        QObject::connect(box, &QCheckBox::stateChanged, box, [box](int state) {
            if (state != Qt::PartiallyChecked)
                box->setTristate(false);
        });
    }
    box->setCheckState(Qt::PartiallyChecked);
}

QString CaptionOf(const QWidget* control) {
    if (const QWidget* window = control->window()) {
        for (const QLabel* label : window->findChildren<QLabel*>()) {
            if (label->buddy() != control)
                continue;
            QString text = label->text().trimmed();
            text.remove(QLatin1Char('&'));
            if (text.endsWith(QLatin1Char(':')))
                text.chop(1);
            return text.trimmed();
        }
    }
    if (auto group = qobject_cast<const QvRadioGroup*>(control); group && !group->title().isEmpty())
        return group->title();
    if (!control->accessibleName().isEmpty())
        return control->accessibleName();
    return control->objectName();
}

QString SelectionMissing(const QString& caption) {
    return QStringLiteral("Please select a value for %1.").arg(caption);
}

} // namespace qv

QvNoChoice::QvNoChoice(QWidget* control)
    : QvException(qv::code::kBadValue, qv::SelectionMissing(qv::CaptionOf(control))),
      control_(control) {}
