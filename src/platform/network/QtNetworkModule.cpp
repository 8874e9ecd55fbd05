#include "platform/NetworkModule.h"
#include "platform/network/QtHttpTransport.h"
#include "platform/network/TcpLoopbackListener.h"

#include <QtGlobal>

namespace norvelle {

namespace {

class QtNetworkModule : public NetworkModule {
public:
    std::unique_ptr<HttpTransport> makeHttpTransport(std::function<void()> returnFreedMemory) override
    {
        return std::make_unique<QtHttpTransport>(std::move(returnFreedMemory));
    }
    std::unique_ptr<LoopbackListener> makeLoopbackListener() override { return std::make_unique<TcpLoopbackListener>(); }
};

} // namespace

} // namespace norvelle

extern "C" Q_DECL_EXPORT norvelle::NetworkModule* norvelle_network_module()
{
    static norvelle::QtNetworkModule module;
    return &module;
}
