#include "app/about_form.h"

#include "app/module_texts.h"
#include "app/resources.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSvgWidget>
#include <QVBoxLayout>

TAboutForm::TAboutForm(QWidget* owner) : QDialog(owner) {
    kw::initAppResources();
    setObjectName("TAboutForm");
    setWindowTitle(QStringLiteral("Help\\About"));
    setModal(true);

    auto* picture = new QSvgWidget(QStringLiteral(":/app/device.svg"), this);
    picture->setObjectName("Image1");
    picture->setFixedSize(55, 110);

    auto* title = new QLabel(
        QString::fromLatin1(app::kModelName) + QStringLiteral(" Management Module"), this);
    title->setObjectName("Label1");
    QFont bold = title->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.25);
    title->setFont(bold);

    auto* versionCaption = new QLabel(QStringLiteral("Release Version:"), this);
    auto* version = new QLabel(QStringLiteral("v2.50"), this);
    version->setObjectName("La_Version");
    versionCaption->setBuddy(version);

    auto* rights = new QLabel(QStringLiteral("Copyright (C) the KW-9100 module authors."), this);
    rights->setObjectName("La_Copyright");

    release_ = new QLabel(QStringLiteral("R07(2008/08/22)"), this);
    release_->setObjectName("La_Release");
    release_->setStyleSheet(QStringLiteral("color: red;"));
    release_->setVisible(false);

    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->setObjectName("BT_Ok");
    ok_->setDefault(true);
    ok_->installEventFilter(this);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);

    auto* text = new QGridLayout;
    text->addWidget(title, 0, 0, 1, 2);
    text->addWidget(versionCaption, 1, 0);
    text->addWidget(version, 1, 1);
    text->addWidget(rights, 2, 0, 1, 2);
    text->addWidget(release_, 3, 0, 1, 2);
    text->setColumnStretch(1, 1);

    auto* top = new QHBoxLayout;
    top->addWidget(picture);
    top->addSpacing(12);
    top->addLayout(text, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    setFixedSize(sizeHint());
    ok_->setFocus();
}

bool TAboutForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ok_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const auto mods = key->modifiers() & (Qt::ShiftModifier | Qt::AltModifier |
                                              Qt::ControlModifier | Qt::MetaModifier);
        if (key->key() == Qt::Key_F3 && mods == (Qt::ShiftModifier | Qt::AltModifier)) {
            release_->setVisible(true);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
