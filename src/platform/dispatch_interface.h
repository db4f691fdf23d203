#pragma once
// The few COM shapes the request component's ready-state sink needs. There is
// no COM here: an interface pointer is the address of an object whose only
// field is the address of its function table, and the result codes and
// interface identifiers are the ones the sink answers with.

#include <cstdint>

namespace orvane::com {

using HResult = std::int32_t;

inline constexpr HResult kOk = 0;
inline constexpr HResult kNotImplemented = static_cast<HResult>(0x80004001u);  // E_NOTIMPL
inline constexpr HResult kNoInterface = static_cast<HResult>(0x80004002u);     // E_NOINTERFACE
inline constexpr HResult kPointer = static_cast<HResult>(0x80004003u);         // E_POINTER

struct Guid {
  std::uint32_t data1;
  std::uint16_t data2;
  std::uint16_t data3;
  std::uint8_t data4[8];
  friend bool operator==(const Guid&, const Guid&) = default;
};

// {00000000-0000-0000-C000-000000000046}
inline constexpr Guid kIidUnknown{
    0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
// {00020400-0000-0000-C000-000000000046}
inline constexpr Guid kIidDispatch{
    0x00020400, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
// GUID_NULL, what Invoke's reserved identifier argument carries.
inline constexpr Guid kIidNull{0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};

struct DispatchInterface;

// IDispatch's function table in its order. The eighth entry stays empty.
struct DispatchFunctions {
  HResult (*QueryInterface)(DispatchInterface* self, const Guid& iid, DispatchInterface** out);
  std::uint32_t (*AddRef)(DispatchInterface* self);
  std::uint32_t (*Release)(DispatchInterface* self);
  HResult (*GetTypeInfoCount)(DispatchInterface* self, std::uint32_t* count);
  HResult (*GetTypeInfo)(DispatchInterface* self, std::uint32_t index, std::uint32_t locale,
                         void** typeInfo);
  HResult (*GetIDsOfNames)(DispatchInterface* self, const Guid& iid, const char* const* names,
                           std::uint32_t count, std::uint32_t locale, std::int32_t* ids);
  HResult (*Invoke)(DispatchInterface* self, std::int32_t dispatchId, const Guid& iid,
                    std::uint32_t locale, std::uint16_t flags, void* params, void* result,
                    void* exceptionInfo, std::uint32_t* argumentError);
  void* reserved;
};

// What an interface pointer points at.
struct DispatchInterface {
  const DispatchFunctions* functions;
};

// DISPATCH_METHOD, the flag the component calls the sink's Invoke with.
inline constexpr std::uint16_t kDispatchMethod = 1;

}  // namespace orvane::com
