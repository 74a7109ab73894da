#pragma once
// The Help > About box: model name, release version and the hidden release label that
// Shift+Alt+F3 on the OK button reveals.
#include <QDialog>

class QLabel;
class QPushButton;

class TAboutForm : public QDialog {
    Q_OBJECT
public:
    explicit TAboutForm(QWidget* owner);

    QLabel* releaseLabel() const { return release_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* release_ = nullptr;
    QPushButton* ok_ = nullptr;
};
