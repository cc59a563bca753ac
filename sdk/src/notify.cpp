#include "hostsdk/notify.h"

#include <algorithm>
#include <vector>

namespace {

struct Registration {
    NOTIFYPROC proc;
    void* param;
    int code;
};

std::vector<Registration>& Registrations() {
    static std::vector<Registration> registrations;
    return registrations;
}

} // namespace

int RegisterNotification(NOTIFYPROC proc, void* param, int code) {
    if (proc == nullptr)
        return 0;
    Registrations().push_back(Registration{proc, param, code});
    return 1;
}

int UnRegisterNotification(NOTIFYPROC proc, void* param, int code) {
    auto& all = Registrations();
    const auto before = all.size();
    all.erase(std::remove_if(all.begin(), all.end(),
                             [&](const Registration& r) {
                                 return r.proc == proc && r.param == param && r.code == code;
                             }),
              all.end());
    return before != all.size() ? 1 : 0;
}

int UnRegisterNotification(NOTIFYPROC proc, void* param) {
    auto& all = Registrations();
    const auto before = all.size();
    all.erase(std::remove_if(all.begin(), all.end(),
                             [&](const Registration& r) { return r.proc == proc && r.param == param; }),
              all.end());
    return before != all.size() ? 1 : 0;
}

void BroadcastNotification(int code, void* callParam) {
    // A callback may unregister itself or others while it runs, so walk a copy.
    const std::vector<Registration> current = Registrations();
    NotifyInfo info{code, callParam};
    for (const Registration& r : current) {
        if (r.code != code)
            continue;
        const auto& live = Registrations();
        const bool stillRegistered = std::any_of(live.begin(), live.end(), [&](const Registration& l) {
            return l.proc == r.proc && l.param == r.param && l.code == r.code;
        });
        if (stillRegistered)
            r.proc(r.param, &info);
    }
}

int NotificationCount(int code) {
    const auto& all = Registrations();
    return static_cast<int>(
        std::count_if(all.begin(), all.end(), [&](const Registration& r) { return r.code == code; }));
}
