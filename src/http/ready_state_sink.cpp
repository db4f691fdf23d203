#include "http/ready_state_sink.h"

#include <atomic>

namespace orvane {
namespace {

std::atomic<ReadyStateHandler> g_handler{nullptr};
std::atomic<std::int32_t> g_referenceCount{0};

std::uint32_t AddRef(com::DispatchInterface*) {
  return static_cast<std::uint32_t>(++g_referenceCount);
}

// The sink is never freed here: its block is owned by whoever shares it.
std::uint32_t Release(com::DispatchInterface*) {
  std::int32_t count = g_referenceCount.load();
  while (count > 0 && !g_referenceCount.compare_exchange_weak(count, count - 1)) {
  }
  return static_cast<std::uint32_t>(count > 0 ? count - 1 : 0);
}

com::HResult QueryInterface(com::DispatchInterface* self, const com::Guid& iid,
                            com::DispatchInterface** out) {
  if (out == nullptr) return com::kPointer;
  if (iid == com::kIidDispatch || iid == com::kIidUnknown) {
    *out = self;
    AddRef(self);
    return com::kOk;
  }
  *out = nullptr;
  return com::kNoInterface;
}

com::HResult GetTypeInfoCount(com::DispatchInterface*, std::uint32_t* count) {
  if (count != nullptr) *count = 1;
  return com::kOk;
}

com::HResult GetTypeInfo(com::DispatchInterface*, std::uint32_t, std::uint32_t, void**) {
  return com::kNotImplemented;
}

com::HResult GetIDsOfNames(com::DispatchInterface*, const com::Guid&, const char* const*,
                           std::uint32_t, std::uint32_t, std::int32_t*) {
  return com::kNotImplemented;
}

com::HResult Invoke(com::DispatchInterface* self, std::int32_t, const com::Guid&, std::uint32_t,
                    std::uint16_t, void*, void*, void*, std::uint32_t*) {
  if (const ReadyStateHandler handler = g_handler.load())
    handler(reinterpret_cast<std::uintptr_t>(&self));
  return com::kOk;
}

}  // namespace

std::shared_ptr<ReadyStateSink> MakeReadyStateSink() {
  auto sink = std::make_shared<ReadyStateSink>();
  sink->functions =
      com::DispatchFunctions{&QueryInterface, &AddRef,        &Release, &GetTypeInfoCount,
                             &GetTypeInfo,    &GetIDsOfNames, &Invoke,  nullptr};
  sink->object.functions = &sink->functions;
  return sink;
}

std::shared_ptr<com::DispatchInterface> SinkInterface(const std::shared_ptr<ReadyStateSink>& sink) {
  if (!sink) return nullptr;
  return std::shared_ptr<com::DispatchInterface>(sink, &sink->object);
}

void SetProcessReadyStateHandler(ReadyStateHandler handler) {
  g_handler.store(handler);
}

ReadyStateHandler ProcessReadyStateHandler() {
  return g_handler.load();
}

std::int32_t SinkReferenceCount() {
  return g_referenceCount.load();
}

}  // namespace orvane
