#pragma once

#include "platform/Pasteboard.h"

namespace norvelle::test {

// An in-memory pasteboard. setContents() plays another program copying something; write() and
// clearContents() are the program's own writes. Every change raises the change count by one.
class FakePasteboard final : public Pasteboard {
public:
    qint64 changeCount() const override { return m_changeCount; }
    QStringList types() const override;
    QByteArray data(const QString& type) const override;
    QString string() const override;
    void clearContents() override;
    void write(const PasteboardContents& contents) override;

    // Another program's copy: the given types and bytes, in order.
    void setContents(const QList<QPair<QString, QByteArray>>& items);
    // Another program copying plain text.
    void setText(const QString& text);

    // Makes every data() call take this long, as an owner that does not answer would.
    void setReadDelay(int milliseconds) { m_readDelayMs = milliseconds; }
    // How many times data() was asked (each is a round trip to the owner on X11).
    int dataReads() const { return m_dataReads; }

private:
    QList<QPair<QString, QByteArray>> m_items;
    qint64 m_changeCount = 100;
    mutable int m_dataReads = 0;
    int m_readDelayMs = 0;
};

} // namespace norvelle::test
