#pragma once

#include <gio/gio.h>
#include <memory>

namespace tessellar::glib {

// Owning pointers for the GLib objects the GIO module holds, so every exit path frees them.
struct ObjectUnref {
    void operator()(gpointer object) const { g_object_unref(object); }
};
struct ErrorFree {
    void operator()(GError* error) const { g_error_free(error); }
};
struct Free {
    void operator()(gpointer memory) const { g_free(memory); }
};
struct VariantUnref {
    void operator()(GVariant* variant) const { g_variant_unref(variant); }
};

template <typename T> using Object = std::unique_ptr<T, ObjectUnref>;
using Error = std::unique_ptr<GError, ErrorFree>;
using String = std::unique_ptr<gchar, Free>;
using Variant = std::unique_ptr<GVariant, VariantUnref>;

// Collects a GError written through an out-parameter: `call(..., error.out())`.
class ErrorSlot {
public:
    GError** out() { return &raw_; }
    ~ErrorSlot() {
        if (raw_)
            g_error_free(raw_);
    }
    explicit operator bool() const { return raw_ != nullptr; }
    const char* message() const { return raw_ ? raw_->message : ""; }

private:
    GError* raw_ = nullptr;
};

} // namespace tessellar::glib
