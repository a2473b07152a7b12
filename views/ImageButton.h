#pragma once

#include <QImage>
#include <QString>

class QToolButton;
class QWidget;

// A flat button showing a picture, named and tipped by what it does.
QToolButton* ImageButton(const QImage& picture, const QString& name, QWidget* parent);
