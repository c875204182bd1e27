#include "host/infra/RWGlobalConfig.h"

TSHandle<RWGlobalConfig> RWGlobalConfig::getInstance()
{
    // Never destroyed: components may read their configuration while the process exits.
    static TSHandle<RWGlobalConfig>* s_pInstance = new TSHandle<RWGlobalConfig>(std::shared_ptr<RWGlobalConfig>(new RWGlobalConfig()));
    return *s_pInstance;
}
