#include "account/DeviceAttestation.h"

#include "platform/Crypto.h"
#include "platform/StoredSettings.h"
#include "platform/UserDefaults.h"
#include "support/TestHome.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace norvelle;

TEST(DeviceAttestation, TheIdentifierComesFromTheMachineIdAndIsStable)
{
    DeviceAttestation first([] { return QString("0123456789abcdef0123456789abcdef"); });
    DeviceAttestation second([] { return QString("0123456789abcdef0123456789abcdef"); });
    const QString id = first.deviceIdentifier();
    EXPECT_EQ(id, "nvd_" + Crypto::sha256Hex("harbor-node-tag-v7:0123456789abcdef0123456789abcdef").left(32));
    EXPECT_EQ(second.deviceIdentifier(), id);
    EXPECT_EQ(id.size(), 36);
    EXPECT_FALSE(UserDefaults::standard().contains(storedSettings::deviceIdentifier.key));
    // No key store here: never an attestation.
    EXPECT_FALSE(first.makePayload());
}

TEST(DeviceAttestation, WithoutAMachineIdARandomIdentifierIsMadeOnceAndKept)
{
    DeviceAttestation first([] { return QString(); });
    const QString id = first.deviceIdentifier();
    EXPECT_TRUE(QRegularExpression("^nvd_[0-9a-f]{32}$").match(id).hasMatch()) << id.toStdString();
    EXPECT_EQ(UserDefaults::standard().string(storedSettings::deviceIdentifier.key), id);
    DeviceAttestation later([] { return QString(); });
    EXPECT_EQ(later.deviceIdentifier(), id);
}

TEST(DeviceAttestation, AnEmptyStoredIdentifierIsReplaced)
{
    UserDefaults::standard().set(storedSettings::deviceIdentifier.key, QString());
    DeviceAttestation attestation([] { return QString(); });
    EXPECT_EQ(attestation.deviceIdentifier().size(), 36);
    EXPECT_EQ(UserDefaults::standard().string(storedSettings::deviceIdentifier.key), attestation.deviceIdentifier());
}

TEST(DeviceAttestation, TheIdentifierIsFixedAtFirstUse)
{
    int calls = 0;
    DeviceAttestation attestation([&] { return QString::number(++calls); });
    const QString id = attestation.deviceIdentifier();
    EXPECT_EQ(attestation.deviceIdentifier(), id);
    EXPECT_EQ(calls, 1);
}
