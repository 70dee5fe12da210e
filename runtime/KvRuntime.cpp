#include "KvRuntime.h"

const char* KvRuntime::LibraryName() { return "KvCtrls_22"; }
