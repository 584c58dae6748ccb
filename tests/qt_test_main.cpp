// main() for tests of the Qt-based core: a QCoreApplication for signals and
// queued calls, libvips for image headers, and settings redirected to a fresh temporary folder so no test
// ever reads or writes the user's own configuration.
#include <QCoreApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "codec/libvips_runtime.h"

int main(int argc, char** argv) {
  QTemporaryDir configDir;
  if (!configDir.isValid()) return 1;
  qputenv("XDG_CONFIG_HOME", configDir.path().toLocal8Bit());
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, configDir.path());
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, configDir.path());
  QCoreApplication::setOrganizationName("Quorvane");
  QCoreApplication::setApplicationName("Quorvane");
  QCoreApplication app(argc, argv);
  quorvane::codec::LibvipsRuntime vips(argv[0]);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
