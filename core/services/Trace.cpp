// The trace writers of the DTM and of the channels.
#include "core/services/Trace.h"

#include <cstdio>

#include "core/services/ReadWriteIniFiles.h"
#include "platform/app/EventLoop.h"
#include "platform/app/Path.h"
#include "platform/com/VbText.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/Parameters.h"
#include "platform/win/Files.h"

namespace dtm {

namespace com = platform::com;
namespace vb = platform::com::vb;
using platform::P;

namespace {

thread_local std::string g_versionName;
thread_local std::string g_traceMode;
thread_local std::string g_channelTraceMode;

constexpr const char* kTraceOn = "ExternalFile";
constexpr int32_t kTagWidth = 8;

// One trace file and the key that switches it on.
struct TraceTarget {
    std::string& mode;
    const char* section;
    const char* file;
};

TraceTarget MainTrace() { return {g_traceMode, "TimeCritical", "\\TraceInfoFile.txt"}; }
TraceTarget ChannelTrace() { return {g_channelTraceMode, "ChannelAssignment", "\\ChannelTraceFile.txt"}; }

std::string NowText() {
    const com::DateParts d = com::SplitDate(platform::app::NowDate());
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", d.year, d.month, d.day, d.hour, d.minute,
                  d.second);
    return text;
}

std::string TagField(const P<platform::rt::DTMContext>& ctx) {
    constexpr const char* kNoTag = "TAG N.A.: ";
    if (!ctx) return kNoTag;
    try {
        auto params = ctx->Parameters();
        if (!params || params->Count() == 0) return kNoTag;
        std::string tag = com::CStr(com::Deref(params->Item("~/Tag")).TransientValue());
        if (tag.empty()) return "EMPTYTAG: ";
        const int32_t length = vb::Len(tag);
        if (length < kTagWidth) tag.append(static_cast<size_t>(kTagWidth - length), ' ');
        return tag + ": ";
    } catch (...) {
        return kNoTag;
    }
}

std::string SystemTagField(const P<platform::rt::DTMContext>& ctx) {
    if (!ctx) return "SYST. N.A.: ";
    const std::string& systemTag = ctx->SystemTag();
    if (systemTag.empty()) return "EMPTY SYSTAG: ";
    return systemTag + ": ";
}

bool AppendTo(const TraceTarget& target, const std::string& line) noexcept {
    try {
        return platform::win::AppendLine(platform::app::File(target.file), line);
    } catch (...) {
        return false;
    }
}

bool IsOn(const TraceTarget& target) noexcept {
    try {
        if (target.mode.empty()) target.mode = ReadIniString(DtmIniFile(), target.section, "Trace");
        return target.mode == kTraceOn;
    } catch (...) {
        return false;  // a trace never disturbs its caller
    }
}

void WriteTrace(const TraceTarget& target, const std::string& firstText, const std::string& message,
                const P<platform::rt::DTMContext>& ctx) noexcept {
    try {
        if (!IsOn(target)) return;
        AppendTo(target, TraceLine(firstText, message, ctx));
    } catch (...) {
        // A trace never disturbs its caller.
    }
}

}  // namespace

const std::string& TraceVersionName() { return g_versionName; }

void SetTraceVersionName(const std::string& name) { g_versionName = name; }

std::string TraceLine(const std::string& firstText, const std::string& message,
                      const P<platform::rt::DTMContext>& DTMContext) noexcept {
    try {
        std::string date;
        try {
            date = NowText();
        } catch (...) {
            // A clock outside the date range leaves the date out.
        }
        return date + " " + g_versionName + ": " + TagField(DTMContext) + SystemTagField(DTMContext) + firstText +
               ": " + message;
    } catch (...) {
        return {};
    }
}

bool TraceOn() noexcept { return IsOn(MainTrace()); }

void TraceOut(const std::string& firstText, const std::string& message,
              const P<platform::rt::DTMContext>& DTMContext) noexcept {
    WriteTrace(MainTrace(), firstText, message, DTMContext);
}

bool AppendTraceFile(const std::string& line) noexcept { return AppendTo(MainTrace(), line); }

bool ChannelTraceOn() noexcept { return IsOn(ChannelTrace()); }

void ChannelTraceOut(const std::string& firstText, const std::string& message,
                     const P<platform::rt::DTMContext>& DTMContext) noexcept {
    WriteTrace(ChannelTrace(), firstText, message, DTMContext);
}

bool AppendChannelTraceFile(const std::string& line) noexcept { return AppendTo(ChannelTrace(), line); }

void ResetTraceModes() noexcept {
    g_traceMode.clear();
    g_channelTraceMode.clear();
}

}  // namespace dtm
