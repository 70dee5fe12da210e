#include "KvCtrlsReg.h"

const char* KvCtrlsReg::PackageDescription() { return "KvControls Standard Library Suite"; }
