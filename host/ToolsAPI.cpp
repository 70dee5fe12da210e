#include "ToolsAPI.h"

IBorlandIDEServices* BorlandIDEServices = nullptr;
