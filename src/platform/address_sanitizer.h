// Whether this build runs under the address sanitizer, which watches only
// memory from the allocator and reserves far more address space than a
// process limit would allow.
#pragma once

namespace qelvar {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kAddressSanitizer = true;
#else
constexpr bool kAddressSanitizer = false;
#endif
#else
constexpr bool kAddressSanitizer = false;
#endif

}  // namespace qelvar
