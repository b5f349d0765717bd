#pragma once

// Parts of the layer shared between its units; not for the windows.

class QKeyEvent;
class QObject;

namespace vcl {
class TControl;
class TWinControl;

namespace internal {

/* Installs the application-wide event routing once a QApplication exists. */
void EnsureRouting();
/* The object posted messages are delivered through. */
QObject* Pump();

void RegisterWidget(const QObject* widget, TControl* control);
void UnregisterWidget(const QObject* widget);
TControl* RegisteredControl(const QObject* widget);

/* While one exists, Qt events are not turned into the layer's events (the
   layer is changing widgets itself, or disposing). */
class QuietScope {
 public:
  QuietScope();
  ~QuietScope();
  QuietScope(const QuietScope&) = delete;
  QuietScope& operator=(const QuietScope&) = delete;
};
bool Quiet();

/* The platform's key path for a key event on Control; true when the key was
   used up. */
bool RouteKey(TWinControl* control, QKeyEvent* event);

}  // namespace internal
}  // namespace vcl
