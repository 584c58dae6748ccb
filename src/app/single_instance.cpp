#include "app/single_instance.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QUrl>
#include <cstdio>

#include "app/application_adaptor.h"
#include "services/file_service.h"

namespace quorvane::gui {

namespace {

// Keys of org.freedesktop.Application's platform data.
const QString kActivationTokenKey = QStringLiteral("activation-token");
const QString kStartupIdKey = QStringLiteral("desktop-startup-id");

}  // namespace

SingleInstance::SingleInstance(QDBusConnection bus, QString serviceName, QObject* parent)
    : QObject(parent),
      m_bus(std::move(bus)),
      m_serviceName(std::move(serviceName)),
      m_objectPath(objectPathFor(m_serviceName)) {
  auto* adaptor = new ApplicationAdaptor(this);
  connect(adaptor, &ApplicationAdaptor::openRequested, this, &SingleInstance::received);
}

SingleInstance::~SingleInstance() {
  release();
}

QString SingleInstance::objectPathFor(const QString& serviceName) {
  return QLatin1Char('/') + QString(serviceName).replace(QLatin1Char('.'), QLatin1Char('/'));
}

QVariantMap SingleInstance::launchPlatformData() {
  QVariantMap data;
  const QString token = qEnvironmentVariable("XDG_ACTIVATION_TOKEN");
  if (!token.isEmpty()) data.insert(kActivationTokenKey, token);
  const QString startupId = qEnvironmentVariable("DESKTOP_STARTUP_ID");
  if (!startupId.isEmpty()) data.insert(kStartupIdKey, startupId);
  return data;
}

SingleInstance::Role SingleInstance::start(const std::vector<std::filesystem::path>& files,
                                           const QVariantMap& platformData,
                                           std::chrono::milliseconds timeout) {
  Q_ASSERT(!m_registered);
  if (!m_bus.isConnected() || !m_bus.interface()) return Role::Alone;
  // The object first: a call that arrives the moment the name is ours must
  // find it (calls wait in the queue until the event loop runs).
  if (!m_bus.registerObject(m_objectPath, this, QDBusConnection::ExportAdaptors)) {
    return Role::Alone;
  }
  // Taking the name is the one atomic step: of two launches at the same
  // moment exactly one becomes the primary.
  const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> taken =
      m_bus.interface()->registerService(m_serviceName, QDBusConnectionInterface::DontQueueService,
                                         QDBusConnectionInterface::DontAllowReplacement);
  if (taken.isValid() && taken.value() == QDBusConnectionInterface::ServiceRegistered) {
    m_registered = true;
    return Role::Primary;
  }
  m_bus.unregisterObject(m_objectPath);
  if (!taken.isValid()) return Role::Alone;

  QStringList uris;
  for (const std::filesystem::path& file : files) {
    uris << core::FileService::urlFromLocalPath(file).toString(QUrl::FullyEncoded);
  }
  QDBusMessage call = QDBusMessage::createMethodCall(
      m_serviceName, m_objectPath, QLatin1String(ApplicationAdaptor::kInterface),
      uris.isEmpty() ? QStringLiteral("Activate") : QStringLiteral("Open"));
  if (!uris.isEmpty()) call << uris;
  call << platformData;
  // Events are handled while waiting: nothing is shown yet, and an
  // instance in the same process (as in the tests) can answer.
  const QDBusMessage reply =
      m_bus.call(call, QDBus::BlockWithGui, static_cast<int>(timeout.count()));
  if (reply.type() == QDBusMessage::ReplyMessage) return Role::HandedOver;
  std::fprintf(stderr,
               "quorvane: warning: the open window did not take the files (%s); "
               "opening another\n",
               qPrintable(reply.errorMessage()));
  return Role::Alone;
}

void SingleInstance::release() {
  if (!m_registered) return;
  m_registered = false;
  m_bus.unregisterObject(m_objectPath);
  if (m_bus.interface()) m_bus.interface()->unregisterService(m_serviceName);
}

void SingleInstance::received(const QStringList& uris, const QVariantMap& platformData) {
  std::vector<std::filesystem::path> files;
  for (const QString& uri : uris) {
    // Absolute only: a relative path would be read against this process's
    // folder, not the caller's.
    const auto path = core::FileService::localPathFromUrl(QUrl(uri, QUrl::StrictMode));
    if (path && path->is_absolute()) files.push_back(*path);
  }
  emit openRequested(files, platformData.value(kActivationTokenKey).toString());
}

}  // namespace quorvane::gui
