#include "app/QtInput.h"

#include <QGuiApplication>

bool CQtKeyState::IsShiftDown() const
{
    return QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ShiftModifier);
}

bool CQtKeyState::IsCtrlDown() const
{
    return QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ControlModifier);
}

bool CQtKeyState::IsAltDown() const
{
    return QGuiApplication::queryKeyboardModifiers().testFlag(Qt::AltModifier);
}
