// The window's symbols. The desktop's icon theme is asked first; where it has
// none (a bare session, Xvfb), a small drawing of our own stands in.
#pragma once

#include <QColor>
#include <QIcon>

namespace quorvane::gui::icons {

QIcon gear(const QColor& color);
QIcon documents(const QColor& color);
QIcon plusCircle(const QColor& color);
QIcon document(const QColor& color);
// Status symbols: filled circle with a check; a warning triangle.
QIcon checkmarkCircle(const QColor& color);
QIcon warningTriangle(const QColor& color);
QIcon refresh(const QColor& color);

}  // namespace quorvane::gui::icons
