#include "platform/WebAuthSession.h"

#include "platform/NetworkModule.h"
#include "platform/RedirectRequest.h"

#include <QDesktopServices>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>

namespace norvelle {

namespace {

const QByteArray returnPage = "<!doctype html><html><head><meta charset=\"utf-8\"><title>Norvelle</title></head>"
                              "<body style=\"font-family:sans-serif;text-align:center;margin-top:4em\">"
                              "<h2>You’re signed in</h2><p>You can close this tab and return to Norvelle.</p>"
                              "</body></html>";

std::unique_ptr<QWidget> makeWaitingWindow(QWidget* anchor, const std::function<void()>& onCancel)
{
    auto window = std::make_unique<QWidget>(nullptr, Qt::Dialog);
    window->setWindowTitle(QStringLiteral("Sign in"));
    auto* layout = new QVBoxLayout(window.get());
    auto* label = new QLabel(QStringLiteral("Continue signing in in your browser.\nNorvelle will pick it up from there."));
    label->setAlignment(Qt::AlignCenter);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"));
    cancel->setObjectName(QStringLiteral("cancelButton"));
    layout->addWidget(label);
    layout->addWidget(cancel, 0, Qt::AlignHCenter);
    QObject::connect(cancel, &QPushButton::clicked, cancel, onCancel);
    if (anchor) {
        window->adjustSize();
        window->move(anchor->geometry().center() - window->rect().center());
    }
    return window;
}

} // namespace

WebAuthSession::WebAuthSession(QObject* parent)
    : QObject(parent)
    , m_browser([](const QUrl& url) { return QDesktopServices::openUrl(url); })
{
    m_limit.setSingleShot(true);
    connect(&m_limit, &QTimer::timeout, this, [this] { finish({std::nullopt, Failure::timedOut}); });
}

WebAuthSession::~WebAuthSession() = default;

QString WebAuthSession::message(Failure failure)
{
    switch (failure) {
    case Failure::cancelled: return QStringLiteral("Sign-in was cancelled.");
    case Failure::cannotListen: return QStringLiteral("Norvelle couldn’t wait for the browser’s answer on this computer.");
    case Failure::cannotOpenBrowser: return QStringLiteral("No web browser could be opened for signing in.");
    case Failure::timedOut: return QStringLiteral("Signing in in the browser took too long. Please try again.");
    }
    return {};
}

QWidget* WebAuthSession::waitingWindow() const
{
    return m_window.get();
}

void WebAuthSession::start(const std::function<QUrl(const QUrl& redirectURI)>& authorizationURL,
    const QString& expectedState, QWidget* anchor, std::function<void(Result)> done)
{
    if (m_done) {
        finish({std::nullopt, Failure::cancelled});
    }
    m_done = std::move(done);
    m_expectedState = expectedState;
    // Made here, not with the session: the network code loads only when someone signs in.
    if (!m_listener) {
        if (NetworkModule* network = NetworkModule::shared()) {
            m_listener = network->makeLoopbackListener();
        }
    }
    if (!m_listener || !m_listener->listen([this](const QByteArray& head) { return answer(head); })) {
        finish({std::nullopt, Failure::cannotListen});
        return;
    }
    QUrl redirect;
    redirect.setScheme(QStringLiteral("http"));
    redirect.setHost(QStringLiteral("127.0.0.1"));
    redirect.setPort(m_listener->port());
    redirect.setPath(redirectPath);
    m_limit.start(m_timeLimitMs);
    m_window = makeWaitingWindow(anchor, [this] { cancel(); });
    m_window->show();
    if (!m_browser(authorizationURL(redirect))) {
        finish({std::nullopt, Failure::cannotOpenBrowser});
    }
}

void WebAuthSession::cancel()
{
    finish({std::nullopt, Failure::cancelled});
}

LoopbackListener::Answer WebAuthSession::answer(const QByteArray& head)
{
    const std::optional<QUrl> target = redirectTarget(head, redirectPath, m_expectedState);
    if (!target || !m_done) {
        return {"404 Not Found", {}, {}};
    }
    QUrl callback = *target;
    callback.setScheme(QStringLiteral("http"));
    callback.setHost(QStringLiteral("127.0.0.1"));
    callback.setPort(m_listener->port());
    return {"200 OK", returnPage, [this, callback] { finish({callback, std::nullopt}); }};
}

void WebAuthSession::finish(Result result)
{
    m_limit.stop();
    if (m_listener) {
        m_listener->close();
    }
    if (m_window) {
        m_window->hide();
        m_window.release()->deleteLater();
    }
    std::function<void(Result)> done = std::move(m_done);
    m_done = nullptr;
    if (done) {
        done(std::move(result));
    }
}

} // namespace norvelle
