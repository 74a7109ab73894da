#pragma once
// A stand-in for a page's own handlers: records the sender of every call.
#include <QList>
#include <QObject>
#include <QPointer>

class PageHandlers : public QObject {
    Q_OBJECT
public:
    QList<QObject*> senders;

public slots:
    void handle() { senders << sender(); }
};
