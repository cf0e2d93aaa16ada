// Input for the tour, sent through Qt's public event API as a user's keys and clicks would
// arrive at a widget, so that the shipped client needs no test library.
#pragma once

#include <QPoint>
#include <QString>
#include <Qt>

class QWidget;

namespace SimulatedInput {

// Presses and releases one key on the widget.
void keyClick(QWidget *widget, Qt::Key key, Qt::KeyboardModifiers modifiers = {});
// Types the text into the widget, one key press and release per character.
void keyClicks(QWidget *widget, const QString &text);
// Presses and releases the button at pos (the widget's centre when pos is null). As a real click
// does, the press first gives the focus to the nearest widget that takes focus by clicking.
void mouseClick(QWidget *widget, Qt::MouseButton button, Qt::KeyboardModifiers modifiers = {},
                QPoint pos = QPoint());
// Runs the event loop for ms milliseconds.
void wait(int ms);

} // namespace SimulatedInput
