#pragma once
// The standard mouse cursors by their old names. Only Qt Core's shape enum, so
// that the model can say which cursor a place wants without the window layer
// (platform/framework/Cursors.h loads and sets them).
#include <QtCore/qnamespace.h>

inline constexpr Qt::CursorShape IDC_ARROW = Qt::ArrowCursor;
inline constexpr Qt::CursorShape IDC_IBEAM = Qt::IBeamCursor;
inline constexpr Qt::CursorShape IDC_WAIT = Qt::WaitCursor;
inline constexpr Qt::CursorShape IDC_CROSS = Qt::CrossCursor;
inline constexpr Qt::CursorShape IDC_SIZEWE = Qt::SizeHorCursor;
inline constexpr Qt::CursorShape IDC_SIZENS = Qt::SizeVerCursor;
inline constexpr Qt::CursorShape IDC_SIZEALL = Qt::SizeAllCursor;
inline constexpr Qt::CursorShape IDC_HAND = Qt::PointingHandCursor;
