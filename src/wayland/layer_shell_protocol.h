// The generated layer-shell header, readable from C++: it names an argument
// "namespace".
#pragma once

#define namespace layer_namespace
#include <wlr-layer-shell-unstable-v1-client-protocol.h>
#undef namespace
