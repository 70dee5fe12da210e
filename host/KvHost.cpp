#include "KvHost.h"

const char* KvHost::HostName() { return "kvdesigner"; }
