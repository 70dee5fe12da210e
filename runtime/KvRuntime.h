#pragma once

// Stand-in for the runtime component library; its components and packages arrive with their issues.
namespace KvRuntime {
const char* LibraryName();
}
