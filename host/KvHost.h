#pragma once

// The host designer interface and the in-process host; filled in by the host layer's issue.
namespace KvHost {
const char* HostName();
}
