#include "support/FakePasteboard.h"

#include <QThread>

namespace norvelle::test {

QStringList FakePasteboard::types() const
{
    QStringList types;
    for (const auto& item : m_items) {
        types << item.first;
    }
    return types;
}

QByteArray FakePasteboard::data(const QString& type) const
{
    ++m_dataReads;
    if (m_readDelayMs > 0) {
        QThread::msleep(m_readDelayMs);
    }
    for (const auto& item : m_items) {
        if (item.first == type) {
            return item.second;
        }
    }
    return {};
}

QString FakePasteboard::string() const
{
    for (const auto& item : m_items) {
        if (item.first == PasteboardType::plainText) {
            return QString::fromUtf8(item.second);
        }
    }
    return {};
}

void FakePasteboard::clearContents()
{
    m_items.clear();
    ++m_changeCount;
    emit changed();
}

void FakePasteboard::write(const PasteboardContents& contents)
{
    m_items = contents.data;
    if (!contents.string.isEmpty()) {
        m_items.append({PasteboardType::plainText, contents.string.toUtf8()});
    }
    ++m_changeCount;
    emit changed();
}

void FakePasteboard::setContents(const QList<QPair<QString, QByteArray>>& items)
{
    m_items = items;
    ++m_changeCount;
    emit changed();
}

void FakePasteboard::setText(const QString& text)
{
    setContents({{PasteboardType::plainText, text.toUtf8()}});
}

} // namespace norvelle::test
