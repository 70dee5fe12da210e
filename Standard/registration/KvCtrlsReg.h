#pragma once

// The design package's description as the host shows it.
namespace KvCtrlsReg {
const char* PackageDescription();
}
