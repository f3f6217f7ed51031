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
// The caller has put the value to send into the element; the request carries
// the value the element had before. The write is coded when its transfer
// starts, and no read replaces the element's value while the write waits, so
// what the user confirmed is what goes out; a read's answer reaches the
// element when the write has ended without being carried out.
// A write that does not go ahead (No, a user level below the element's
// RequiredUserLevel, a start the runtime refuses), that the device does not
// carry out (refused or unanswered) or whose page closes before it went out
// gives the element back the value it held before the first command of any
// page still on its way to it, or what a command the device carried out since
// left there; a value read from the device since then takes its place. While
// another page's command to the element is still on its way, the element
// holds the latest one. A click while the group is still busy asks nothing,
// says that a transfer of the window still runs ("error_command_running") and
// gives the element back the value it had before that click. A page that
// closes before its write went out says so ("error_command_not_sent"); once
// the write has gone out, the page's closing leaves it to the device's answer,
// judged as at the group's end: at once when the answer is in, else when it
// comes (a secret, which its page forgets as it closes, is left alone).
// A user level too low is said ("error_user_level_too_low"), and so is a
// write the device did not carry out ("error_command_not_taken", naming the
// command) when the request asks for it or the connection to the device is
// gone or going.
// A started write marks the element as changed online.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
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
    // A write the device did not carry out is said, naming arg1 as the command.
    bool sayNotTaken = false;
    // Run when the device took the write, also when the page has closed by
    // then (so it must not use the page); may be empty.
    std::function<void()> whenTaken;
    // The page's trace lines (member, then the details; nullptr: no line).
    std::string traceMember;
    const char* traceAtEntry = nullptr;
    const char* traceConfirmed = nullptr;  // after Yes, before the busy test
    const char* traceOpened = nullptr;     // the connection opened and the requests added
    const char* traceRefused = nullptr;    // after the error message
    const char* traceNotTaken = nullptr;   // the device did not carry the write out
};

enum class GroupWriteResult { Declined, Busy, NotAllowed, Refused, Started };

// How a started write ended: None when the writer had no write running.
enum class GroupWriteEnd { None, Taken, NotTaken };

// A page's confirmed group writes on its group, each followed to its end. The
// page hands the ends of its group's processes to Finished and tells it when
// it closes (before it releases the group, whose running transfer then ends
// unheard).
class ConfirmedGroupWriter {
public:
    ConfirmedGroupWriter() = default;
    ConfirmedGroupWriter(const ConfirmedGroupWriter&) = delete;
    ConfirmedGroupWriter& operator=(const ConfirmedGroupWriter&) = delete;
    ~ConfirmedGroupWriter();

    // `page` is the transfer's IPrivateProcess (error 13 when it is none).
    GroupWriteResult Write(PageBase& page, platform::rt::TransGrp& group, const GroupWriteRequest& request);
    // The end of a process of `group`: the write started on it is judged by
    // its own transaction result (the read-backs do not count); any other
    // process, or none running, gives None.
    GroupWriteEnd Finished(PageBase& page, const platform::rt::TransGrp& group, const std::string& invokeId);
    // The page closes (before it releases its group): a write that has not
    // gone out is cut short; one that has is left to its answer.
    void PageClosed(PageBase& page);
    // How many elements, of every instance, have commands on their way.
    static size_t ElementsWithCommandsOnTheirWay();

private:
    struct Running {
        platform::rt::El write;
        platform::Variant sent;
        uint64_t serial = 0;   // names the command on its element's list
        std::string invokeId;  // the group's
        std::string command;
        bool sayNotTaken = false;
        std::function<void()> whenTaken;
        std::string traceMember;
        const char* traceNotTaken = nullptr;
    };
    // The device's answer to the write: the element as Ended leaves it, the
    // request's step when taken, the message (and with the page, its trace)
    // when not.
    static void Judge(const platform::P<platform::rt::DTMContext>& ctx, const Running& write, bool taken,
                      const PageBase* page);
    // The write is over: the element holds what the commands still on their
    // way to it, the device's answers and reads leave there.
    static void Ended(const platform::P<platform::rt::DTMContext>& ctx, const Running& write, bool taken);
    // Takes the command off its element's list without judging it.
    static void Forget(const Running& write);

    std::optional<Running> running_;
};

}  // namespace dtm
