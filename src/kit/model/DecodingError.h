#pragma once

#include <stdexcept>

namespace tessellar {

// A stored JSON value that is missing a key or has a value of the wrong type.
class DecodingError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace tessellar
