#pragma once
// The hand-built dispatch object HttpRequest hands to its component as
// "onreadystatechange": IDispatch's seven functions over a process-wide
// reference count and a process-wide handler. Invoke, whatever it is asked,
// calls the handler with the address at which it received the sink's
// interface pointer (valid only during the call) and answers S_OK.
//
// The table and the object live together in one shared block, so a copy of
// the request, or the component, can never be left holding a table that went
// away with the request that built it.

#include <cstdint>
#include <memory>

#include "platform/dispatch_interface.h"

namespace orvane {

using ReadyStateHandler = void (*)(std::uintptr_t invokeArgumentAddress);

struct ReadyStateSink {
  com::DispatchFunctions functions{};
  com::DispatchInterface object{};  // object.functions == &functions
};

// A new sink with its seven functions filled in and the eighth entry empty.
std::shared_ptr<ReadyStateSink> MakeReadyStateSink();

// The interface pointer of a sink, sharing the sink's ownership.
std::shared_ptr<com::DispatchInterface> SinkInterface(const std::shared_ptr<ReadyStateSink>& sink);

// Process-wide, as the sink's functions see them.
void SetProcessReadyStateHandler(ReadyStateHandler handler);
ReadyStateHandler ProcessReadyStateHandler();
std::int32_t SinkReferenceCount();

}  // namespace orvane
