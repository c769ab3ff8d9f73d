#include "JobFollowing.h"

#include <algorithm>
#include <vector>

namespace {

constexpr auto kPollInterval = std::chrono::milliseconds(100);

// Reasons a job stays in the queue until somebody acts, strongest first.
struct StopReason {
    DWORD status;
    const char* reason;
};
constexpr StopReason kStopReasons[] = {
    {JOB_STATUS_PAUSED, "一時停止"},       {JOB_STATUS_OFFLINE, "オフライン"},
    {JOB_STATUS_PAPEROUT, "用紙切れ"},     {JOB_STATUS_USER_INTERVENTION, "ユーザーの操作待ち"},
    {JOB_STATUS_BLOCKED_DEVQ, "ブロック"},
};
constexpr char kInQueue[] = "印刷待ち";
constexpr char kInError[] = "エラー";
constexpr char kUnknown[] = "状態不明";
constexpr char kDeletedInError[] = "エラーのためキューから削除されました";

enum class Seen { Status, Gone, Unreadable };

struct Reading {
    Seen seen;
    DWORD status = 0;
};

// A failure that means the queue no longer holds the job: Windows answers
// ERROR_INVALID_PARAMETER for an unknown id, Wine sets no error at all.
Reading Failure()
{
    const DWORD error = ::GetLastError();
    return {error == ERROR_INVALID_PARAMETER || error == ERROR_SUCCESS ? Seen::Gone : Seen::Unreadable};
}

Reading ReadJob(const WinspoolCalls& calls, HANDLE printer, DWORD job)
{
    DWORD needed = 0;
    ::SetLastError(ERROR_SUCCESS);
    if (!calls.getJob(printer, job, 1, nullptr, 0, &needed) && ::GetLastError() != ERROR_INSUFFICIENT_BUFFER)
        return Failure();
    if (needed < sizeof(JOB_INFO_1W))
        return {Seen::Unreadable};
    std::vector<BYTE> buffer(needed, 0);
    ::SetLastError(ERROR_SUCCESS);
    if (!calls.getJob(printer, job, 1, buffer.data(), needed, &needed))
        return Failure();
    return {Seen::Status, reinterpret_cast<const JOB_INFO_1W*>(buffer.data())->Status};
}

qv::SendOutcome Outcome(qv::Delivery delivery, const char* reason, DWORD job)
{
    return {delivery, reason, job, false};
}

}  // namespace

qv::SendOutcome FollowJob(const WinspoolCalls& calls, HANDLE printer, DWORD job,
                          std::chrono::milliseconds wait)
{
    using Clock = std::chrono::steady_clock;
    const Clock::time_point end = Clock::now() + wait;
    bool inError = false;
    while (wait > wait.zero()) {
        const Reading reading = ReadJob(calls, printer, job);
        if (reading.seen == Seen::Unreadable)
            return Outcome(qv::Delivery::Waiting, kUnknown, job);
        // Gone from the queue: printed, unless the spooler dropped it in an error.
        if (reading.seen == Seen::Gone)
            return inError ? Outcome(qv::Delivery::Failed, kDeletedInError, job)
                           : Outcome(qv::Delivery::Delivered, "", job);
        const DWORD status = reading.status;
        inError = (status & JOB_STATUS_ERROR) != 0;
        if (inError && (status & (JOB_STATUS_DELETING | JOB_STATUS_DELETED)))
            return Outcome(qv::Delivery::Failed, kDeletedInError, job);
        if (status & JOB_STATUS_PRINTED)
            return Outcome(qv::Delivery::Delivered, "", job);
        for (const StopReason& stop : kStopReasons)
            if (status & stop.status)
                return Outcome(qv::Delivery::Waiting, stop.reason, job);
        // An error may pass (the port retries) or end in the job's deletion:
        // it is followed on like a job that simply waits its turn.
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now());
        if (left <= left.zero())
            break;
        ::Sleep(static_cast<DWORD>(std::min(left, kPollInterval).count()));
    }
    return Outcome(qv::Delivery::Waiting, inError ? kInError : kInQueue, job);
}
