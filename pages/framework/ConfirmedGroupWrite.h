#pragma once
// The confirmed group write: how a page sends one command or setting to the
// device. The user confirms the dictionary's question (Yes/No, No as
// default); then, unless the page's group is still busy, the group gets the
// write and the read-backs and starts, the page being told the end through
// its IPrivateProcess. A start the runtime refuses closes the group's
// connection and shows "error_at_write_status".
//
// The group runs with both done flags, so the runtime drops the requests
// before the page hears of the end: a later write never sends an earlier
// command again.
//
// A user whose level is below the written element's RequiredUserLevel is not
// asked: nothing is sent, the element gets back the value the caller replaced
// and "error_user_level_too_low" is shown. A declined or refused write keeps
// the caller's value in the element. A click while the group is still busy,
// whatever the answer, gives the element back the value it had before the
// caller set it: the running transfer codes its elements only when it sends
// them, so the click changes nothing on the wire.
// A started write marks the element as changed online, so that a read landing
// before the write (the status bar's cycle) does not replace the value.
#include <functional>
#include <string>
#include <vector>

#include "pages/framework/PageBase.h"
#include "platform/rt/IPrivateProcess.h"
#include "platform/rt/TransGrp.h"

namespace dtm {

struct GroupWriteRequest {
    std::string promptKey;  // the question's dictionary key, "%1" = arg1
    std::string arg1;
    platform::rt::El write;
    // The element's value before the caller set it (the value as it is when
    // the caller set nothing, as for a typed value).
    platform::Variant previous;
    std::vector<platform::rt::El> reads;  // read back in the same transfer, after the write
    // Run when the write goes ahead (confirmed, the group free), before the
    // connection is opened; may be empty.
    std::function<void()> beforeWrite;
    // The page's trace lines (member, then the details; nullptr: no line).
    std::string traceMember;
    const char* traceAtEntry = nullptr;
    const char* traceConfirmed = nullptr;  // after Yes, before the busy test
    const char* traceOpened = nullptr;     // the connection opened and the requests added
    const char* traceRefused = nullptr;    // after the error message
};

enum class GroupWriteResult { Declined, Busy, NotAllowed, Refused, Started };

// `page` is the transfer's IPrivateProcess (error 13 when it is none).
GroupWriteResult ConfirmedGroupWrite(PageBase& page, platform::rt::TransGrp& group, const GroupWriteRequest& request);

}  // namespace dtm
