#pragma once
// The trace files of the component: "TraceInfoFile.txt" for the DTM and its
// pages and "ChannelTraceFile.txt" for the channel traffic, each switched on
// by its own key of the configuration file. A line holds, without further
// separators:
//
//   date and time, " ", version name, ": ", tag field, system-tag field,
//   first text, ": ", message
//
// The tag field is "TAG N.A.: " without a context, with an empty element
// collection or when "~/Tag" cannot be read; "EMPTYTAG: " for an empty tag;
// else the tag padded with blanks to 8 characters and ": ". The system-tag
// field is "SYST. N.A.: " without a context, "EMPTY SYSTAG: " for an empty
// system tag, else the system tag and ": ".
//
// The trace modes are per thread (the component's one thread), shared by all
// instances. A mode is read from the configuration file while it is empty and
// kept once it holds a value; only "ExternalFile" (case-sensitive) writes.
#include <memory>
#include <string>

namespace platform::rt {
class DTMContext;
}

namespace dtm {

// The version name of "DTMInformation.xml" printed in every line; "" until set.
const std::string& TraceVersionName();
void SetTraceVersionName(const std::string& name);

// The line as described above; the date and time come from app::NowDate() as
// "yyyy-mm-dd hh:nn:ss". Never raises.
std::string TraceLine(const std::string& firstText, const std::string& message,
                      const std::shared_ptr<platform::rt::DTMContext>& DTMContext) noexcept;

// Whether TraceOut writes (the configuration read on the first call), so that
// a caller can leave its texts unbuilt.
bool TraceOn() noexcept;
// Appends one line to "TraceInfoFile.txt" when section "TimeCritical" has
// Trace = "ExternalFile". A failure loses the line; nothing reaches the caller.
void TraceOut(const std::string& firstText, const std::string& message,
              const std::shared_ptr<platform::rt::DTMContext>& DTMContext) noexcept;
// Appends the line and CR LF to "TraceInfoFile.txt"; False on any failure.
bool AppendTraceFile(const std::string& line) noexcept;

// The same for the channel traffic: section "ChannelAssignment", key "Trace",
// file "ChannelTraceFile.txt".
bool ChannelTraceOn() noexcept;
void ChannelTraceOut(const std::string& firstText, const std::string& message,
                     const std::shared_ptr<platform::rt::DTMContext>& DTMContext) noexcept;
bool AppendChannelTraceFile(const std::string& line) noexcept;

// Empties both trace modes, so that the next call reads the configuration
// file again (a new configuration, or a test).
void ResetTraceModes() noexcept;

}  // namespace dtm
