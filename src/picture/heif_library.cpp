#include "picture/heif_library.h"

#include <dlfcn.h>

#include <mutex>

namespace platform {

namespace {

// The soname of the libheif the package depends on.
constexpr const char* kSoname = "libheif.so.1";

std::mutex loading;
HeifLibrary library;
bool loaded = false;

QString dlReason() {
    const char* error = dlerror();
    return QStringLiteral("the HEIF decoding library cannot be loaded (%1)")
        .arg(error ? QString::fromLocal8Bit(error) : QString::fromLatin1(kSoname));
}

}  // namespace

const HeifLibrary* LoadHeifLibrary(QString& reason) {
    const std::lock_guard<std::mutex> lock(loading);
    if (loaded) return &library;
    // Never closed: its codecs keep threads and state for the whole run.
    void* handle = dlopen(kSoname, RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        reason = dlReason();
        return nullptr;
    }
    HeifLibrary resolved;
#define GLID_HEIF_RESOLVE(name)                                                      \
    resolved.name = reinterpret_cast<decltype(resolved.name)>(dlsym(handle, #name)); \
    if (!resolved.name) {                                                            \
        reason = dlReason();                                                         \
        dlclose(handle);                                                             \
        return nullptr;                                                              \
    }
    GLID_HEIF_FUNCTIONS(GLID_HEIF_RESOLVE)
#undef GLID_HEIF_RESOLVE
    library = resolved;
    loaded = true;
    return &library;
}

void ReleaseHeifImage(void* image) {
    // Only a loaded library makes images, and it stays loaded.
    library.heif_image_release(static_cast<heif_image*>(image));
}

}  // namespace platform
