#include "app/check_for_updates_view_model.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <algorithm>

namespace quorvane::gui {

namespace {

// A feed is a few hundred bytes; anything far larger is not our feed.
constexpr qint64 kMaxFeedBytes = 64 * 1024;

bool isWebUrl(const QUrl& url) {
  return url.isValid() && !url.host().isEmpty() &&
         (url.scheme() == QLatin1String("https") || url.scheme() == QLatin1String("http"));
}

}  // namespace

std::optional<QVersionNumber> parseVersion(const QString& text) {
  QString trimmed = text.trimmed();
  if (trimmed.startsWith(u'v')) trimmed.remove(0, 1);
  qsizetype suffix = 0;
  QVersionNumber version = QVersionNumber::fromString(trimmed, &suffix);
  // "1.2.0", "1.2.0-beta" and "1.2.0+build" are versions; "1.2x" is not.
  if (version.isNull() || !trimmed.front().isDigit() ||
      (suffix < trimmed.size() && trimmed[suffix] != u'-' && trimmed[suffix] != u'+')) {
    return std::nullopt;
  }
  return version;
}

CheckForUpdatesViewModel::CheckForUpdatesViewModel(QUrl feedUrl, QObject* parent)
    : QObject(parent), m_feedUrl(std::move(feedUrl)) {
  qRegisterMetaType<Result>();
  // No cookies are sent or kept: the feed needs none and learns nothing.
  m_network.setCookieJar(nullptr);
  m_network.setRedirectPolicy(QNetworkRequest::NoLessSafeRedirectPolicy);
  // Started from the event loop, so whoever made the model has connected to
  // canCheckForUpdatesChanged by the time the first value arrives.
  QTimer::singleShot(0, this, &CheckForUpdatesViewModel::start);
}

CheckForUpdatesViewModel::~CheckForUpdatesViewModel() {
  if (m_reply) {
    // abort() emits finished(); nobody is to hear it now.
    m_reply->disconnect(this);
    m_reply->abort();
  }
}

void CheckForUpdatesViewModel::start() {
  m_started = true;
  setCanCheckForUpdates(isWebUrl(m_feedUrl));
}

void CheckForUpdatesViewModel::setCanCheckForUpdates(bool canCheck) {
  if (canCheck == m_canCheckForUpdates) return;
  m_canCheckForUpdates = canCheck;
  emit canCheckForUpdatesChanged(canCheck);
}

void CheckForUpdatesViewModel::checkForUpdates() {
  if (!m_canCheckForUpdates) return;
  setCanCheckForUpdates(false);
  m_timedOut = false;
  m_tooLarge = false;

  QNetworkRequest request(m_feedUrl);
  request.setAttribute(QNetworkRequest::CookieLoadControlAttribute, QNetworkRequest::Manual);
  request.setAttribute(QNetworkRequest::CookieSaveControlAttribute, QNetworkRequest::Manual);
  request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
  request.setHeader(QNetworkRequest::UserAgentHeader,
                    QStringLiteral("Quorvane/%1").arg(QCoreApplication::applicationVersion()));
  request.setRawHeader("Accept", "application/json");

  m_reply = m_network.get(request);
  connect(m_reply, &QNetworkReply::downloadProgress, this, [this](qint64 received, qint64) {
    if (received > kMaxFeedBytes && m_reply) {
      m_tooLarge = true;
      m_reply->abort();
    }
  });
  connect(m_reply, &QNetworkReply::finished, this, &CheckForUpdatesViewModel::replyFinished);

  delete m_deadline;
  m_deadline = new QTimer(this);
  m_deadline->setSingleShot(true);
  connect(m_deadline, &QTimer::timeout, this, [this] {
    m_timedOut = true;
    if (m_reply) m_reply->abort();
  });
  m_deadline->start(m_timeout);
}

void CheckForUpdatesViewModel::replyFinished() {
  QNetworkReply* reply = m_reply;
  if (!reply) return;
  m_reply = nullptr;
  reply->deleteLater();
  if (m_deadline) m_deadline->stop();

  Result result;
  if (m_timedOut) {
    result.message = tr("The update server did not answer in time.");
  } else if (m_tooLarge || reply->size() > kMaxFeedBytes) {
    // Far more than a feed: not something to read.
    result.message = tr("The update information could not be read.");
  } else if (reply->error() != QNetworkReply::NoError) {
    // Qt's own description, e.g. "Connection refused" or the HTTP status,
    // translated by Qt's translation.
    result.message = reply->errorString();
  } else {
    result = evaluateFeed(reply->readAll(), QCoreApplication::applicationVersion());
  }
  finishCheck(result);
}

void CheckForUpdatesViewModel::finishCheck(const Result& result) {
  // Ready for the next check before anyone hears of this one, so a dialog
  // shown in reply already sees the menu entry enabled again.
  setCanCheckForUpdates(m_started && isWebUrl(m_feedUrl));
  emit checkFinished(result);
}

CheckForUpdatesViewModel::Result CheckForUpdatesViewModel::evaluateFeed(
    const QByteArray& body, const QString& currentVersion) {
  Result result;
  const QString invalidFeed = tr("The update information could not be read.");

  QJsonParseError error{};
  const QJsonDocument document = QJsonDocument::fromJson(body, &error);
  if (error.error != QJsonParseError::NoError || !document.isObject()) {
    result.message = invalidFeed;
    return result;
  }
  const QJsonObject feed = document.object();
  const QString version = feed.value(QLatin1String("version")).toString();
  const std::optional<QVersionNumber> offered = parseVersion(version);
  if (!offered) {
    result.message = invalidFeed;
    return result;
  }
  const std::optional<QVersionNumber> running = parseVersion(currentVersion);
  if (!running) {
    result.message = tr("The version of this copy of Quorvane is unknown.");
    return result;
  }

  result.version = version.trimmed();
  if (QVersionNumber::compare(*offered, *running) <= 0) {
    result.kind = Result::Kind::UpToDate;
    return result;
  }
  const QUrl url(feed.value(QLatin1String("url")).toString(), QUrl::StrictMode);
  if (!isWebUrl(url)) {
    result.version.clear();
    result.message = invalidFeed;
    return result;
  }
  result.kind = Result::Kind::UpdateAvailable;
  result.url = url;
  result.message = feed.value(QLatin1String("notes")).toString();
  return result;
}

}  // namespace quorvane::gui
