#include "app/application_adaptor.h"

namespace quorvane::gui {

ApplicationAdaptor::ApplicationAdaptor(QObject* parent) : QDBusAbstractAdaptor(parent) {}

void ApplicationAdaptor::Activate(const QVariantMap& platformData) {
  emit openRequested({}, platformData);
}

void ApplicationAdaptor::Open(const QStringList& uris, const QVariantMap& platformData) {
  emit openRequested(uris, platformData);
}

}  // namespace quorvane::gui
