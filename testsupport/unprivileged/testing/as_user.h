// Runs test code as an unprivileged user, so that file modes hold: root ignores them, and the
// tests may run as root. Plain POSIX, no test framework.
#pragma once

#include <cerrno>
#include <optional>
#include <vector>

#include <grp.h>
#include <pwd.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace unprivileged {

struct User {
    uid_t uid;
    gid_t gid;
    bool other;                   // not the user running the tests
    std::vector<gid_t> groups{};  // further groups, taken on only where other
};

// nobody / nogroup when the tests run as root, else the user running them; none where root is
// running them and no such user exists.
inline std::optional<User> testUser() {
    if (::geteuid() != 0) return User{::geteuid(), ::getegid(), false};
    const passwd* nobody = ::getpwnam("nobody");
    if (!nobody) return std::nullopt;
    const group* nogroup = ::getgrnam("nogroup");
    return User{nobody->pw_uid, nogroup ? nogroup->gr_gid : nobody->pw_gid, true};
}

// Runs f (returning 0 to 253) in a child process as the user and gives back what it returned;
// 254 when the user could not be taken on, 255 when f threw, -1 when the child did not end normally.
template <class F>
int runAs(const User& user, F f) {
    const pid_t child = ::fork();
    if (child < 0) return -1;
    if (child == 0) {
        if (user.other && (::setgroups(user.groups.size(), user.groups.data()) != 0 || ::setresgid(user.gid, user.gid, user.gid) != 0 ||
                           ::setresuid(user.uid, user.uid, user.uid) != 0)) {
            ::_exit(254);
        }
        int result = 255;
        try {
            result = f();
        } catch (...) {
        }
        ::_exit(result);
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace unprivileged
