#pragma once

#include <QObject>
#include <QString>

class QLocalServer;
class QWidget;

// The running program of one pupil's folder answers a second start by
// coming to the front, so that a second click on the menu entry shows the
// window the pupil already has.
class RunningInstance : public QObject {
public:
    explicit RunningInstance(const QString& folder);

    // From the second start: asks the running program to show its window.
    // False when none answered.
    bool AskToShow() const;
    // From the running program: shows window whenever asked.
    void Answer(QWidget* window);

private:
    void Show(QWidget* window);

    QString name_;
    QLocalServer* server_ = nullptr;
};
