// Replacing a file in folders that other users share: what the file was stays, links are
// followed only where the kernel's guard against planted links would follow them, and no file is
// written that the save must not write. The saves run as a second user in a child process where
// the tests run as root.
#include "test_support.h"
#include "testing/as_user.h"

#include <chrono>
#include <cstring>
#include <map>
#include <optional>

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/xattr.h>

using namespace corlink;
using namespace corlink::test;

namespace {

const std::string kOld = "the old project, longer than the new one";
const std::string kNew = "the new project";

// The users of a shared folder: the saver, a colleague in the saver's team, the folder's owner
// (neither root nor either of them), a group the saver is also in, and one the saver is not in.
// Where the tests do not run as root, only the saver, who is the user running them.
struct Users {
    uid_t saver, colleague, folderOwner;
    gid_t team, extra, foreign;
    bool all;  // the colleague, the folder's owner and the groups exist
    unprivileged::User saverUser() const { return {saver, team, all, {extra}}; }
};
Users users() {
    if (::geteuid() == 0) return {61001, 61002, 61005, 61000, 61003, 61004, true};
    return {::geteuid(), ::geteuid(), ::geteuid(), ::getegid(), ::getegid(), ::getegid(), false};
}

std::vector<std::string> listing(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// The extended attributes of a file (its ACL among them), by name.
std::map<std::string, std::string> attributes(const fs::path& file) {
    std::map<std::string, std::string> all;
    char names[4096];
    const ssize_t n = ::llistxattr(file.c_str(), names, sizeof names);
    for (ssize_t at = 0; at < n; at += static_cast<ssize_t>(std::strlen(names + at)) + 1) {
        char value[4096];
        const ssize_t size = ::lgetxattr(file.c_str(), names + at, value, sizeof value);
        all[names + at] = std::string(value, static_cast<std::size_t>(std::max<ssize_t>(size, 0)));
    }
    return all;
}

// An access ACL as the kernel keeps it: owner rw, the user given rw, owning group r, mask rw, others none.
std::string aclGranting(uid_t user) {
    std::string acl;
    const auto put = [&](std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) acl += static_cast<char>(v >> (8 * i));
    };
    put(2, 4);  // version
    for (const auto& [tag, perm, id] : {std::tuple{0x01u, 6u, ~0u}, std::tuple{0x02u, 6u, std::uint32_t{user}},
                                        std::tuple{0x04u, 4u, ~0u}, std::tuple{0x10u, 6u, ~0u},
                                        std::tuple{0x20u, 0u, ~0u}}) {
        put(tag, 2);
        put(perm, 2);
        put(id, 4);
    }
    return acl;
}

// The mode at which the save made its temporary, if it did.
std::optional<mode_t> createdMode;
// What another user does to the name of the file to be written in place between its lookup and
// its open, if anything.
void (*beforeInPlaceOpen)(int folder, const char* name) = nullptr;
int watchingOpenat(int folder, const char* name, int flags, mode_t mode) {
    if ((flags & O_ACCMODE) == O_RDWR && beforeInPlaceOpen) beforeInPlaceOpen(folder, name);
    const int fd = ::openat(folder, name, flags, mode);
    struct stat st {};
    if (fd >= 0 && (flags & O_CREAT) && ::fstat(fd, &st) == 0) createdMode = st.st_mode & 07777;
    return fd;
}

// The test process in a mount namespace of its own while this lives, so that what it mounts is
// seen by it and its children alone and goes with them; afterwards back in its own.
class OwnMounts {
public:
    OwnMounts() {
        if (::geteuid() != 0) {
            missing = "needs root: run as root";
            return;
        }
        home_ = ::open("/proc/self/ns/mnt", O_RDONLY | O_CLOEXEC);
        cwd_ = ::open(".", O_PATH | O_CLOEXEC);
        if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
            missing = std::string("no mount namespace here: ") + std::strerror(errno);
        }
    }
    ~OwnMounts() {
        if (home_ >= 0 && ::setns(home_, CLONE_NEWNS) != 0) std::abort();  // the other tests' files are there
        if (cwd_ >= 0 && ::fchdir(cwd_) != 0) std::abort();
        ::close(home_);
        ::close(cwd_);
    }
    OwnMounts(const OwnMounts&) = delete;
    OwnMounts& operator=(const OwnMounts&) = delete;
    // A tmpfs of the user's on the folder, with further mount flags.
    bool mountFor(const fs::path& dir, uid_t uid, gid_t gid, unsigned long flags = 0) {
        const std::string options = "mode=0755,uid=" + std::to_string(uid) + ",gid=" + std::to_string(gid);
        if (::mount("tmpfs", dir.c_str(), "tmpfs", flags, options.c_str()) == 0) return true;
        missing = std::string("cannot mount a tmpfs so: ") + std::strerror(errno);
        return false;
    }
    std::string missing;  // why the test cannot run, if it cannot

private:
    int home_ = -1, cwd_ = -1;
};

class SharedFolders : public ::testing::Test {
protected:
    SharedFolders() { fs::permissions(folder.dir, fs::perms(0755)); }
    static void own(const fs::path& path, uid_t uid, gid_t gid, mode_t mode) {
        ASSERT_EQ(::lchown(path.c_str(), uid, gid), 0) << path;
        if (!fs::is_symlink(path)) {
            ASSERT_EQ(::chmod(path.c_str(), mode), 0) << path;
        }
    }
    // A fresh folder of the test's folder, with its owner, group and mode.
    fs::path makeFolder(const std::string& name, uid_t uid, gid_t gid, mode_t mode) {
        const fs::path dir = folder.dir / name;
        fs::remove_all(dir);
        fs::create_directory(dir);
        own(dir, uid, gid, mode);
        return dir;
    }
    // The save as the saver: the error it gives, or 250 when it made its temporary with another mode.
    int save(const std::string& name, mode_t created, detail::FileCalls calls = {}) {
        return unprivileged::runAs(u.saverUser(), [&] {
            calls.openat = &watchingOpenat;
            const ScopedFileCalls scoped(calls);
            const int code = errorOf([&] { detail::ReplaceFile(name, kNew); });
            return createdMode && *createdMode != created ? 250 : code;
        });
    }
    static mode_t newFileMode() {
        const mode_t umask = ::umask(0);
        ::umask(umask);
        return 0666 & ~umask;
    }
    const Users u = users();
    TempFolder folder;
};

}  // namespace

TEST_F(SharedFolders, AReplacedFileKeepsItsOwnerGroupModeNamesAndAttributes) {
    const mode_t created = newFileMode();
    enum Owner { None, Saver, Colleague };
    enum Group { Team, Extra, Foreign };
    detail::FileCalls noFchmod, noFchown, noAttributes, busy, otherDevice;
    noFchmod.fchmod = &refused<EPERM>;  // as a file system that shows every file with one owner and mode
    noFchown.fchown = &refused<EPERM>;
    noAttributes.fsetxattr = &refused<ENOTSUP>;
    busy.renameat = &refused<EBUSY>;  // a file mounted on its own
    otherDevice.renameat = &refused<EXDEV>;
    enum : unsigned { GroupFolder = 1, SecondName = 2, Attributes = 4, Leftover = 8, InPlace = 16, InheritedAcl = 32 };
    const struct {
        const char* what;
        Owner owner;
        Group group;
        mode_t mode;
        unsigned is;
        detail::FileCalls calls;
    } cases[] = {
        {"a private file, and a write-only leftover of a killed save", Saver, Team, 0600, Leftover, {}},
        {"a new file", None, Team, created, 0, {}},
        {"another user's file in a group folder", Colleague, Team, 0660, GroupFolder | InPlace, {}},
        {"a group chosen by the owner", Saver, Extra, 0640, 0, {}},
        {"a group the saver is not in", Saver, Foreign, 0644, InPlace, {}},
        {"a second name", Saver, Team, 0644, SecondName | InPlace, {}},
        {"an ACL entry and a user attribute", Saver, Team, 0660, Attributes, {}},
        {"a folder that gives new files an ACL", Saver, Team, 0640, InheritedAcl, {}},
        {"attributes that cannot be copied", Saver, Team, 0660, Attributes | InPlace, noAttributes},
        {"permission bits refused, as they are", Saver, Team, 0600, 0, noFchmod},
        {"permission bits refused, other ones", Saver, Team, 0644, InPlace, noFchmod},
        {"a group refused", Saver, Extra, 0640, InPlace, noFchown},
        {"a rename refused as busy", Saver, Team, 0644, InPlace, busy},
        {"a rename across file systems", Saver, Team, 0644, InPlace, otherDevice},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (!u.all && (c.owner == Colleague || c.group != Team)) continue;  // needs a second user and groups
        const gid_t group = c.group == Team ? u.team : c.group == Extra ? u.extra : u.foreign;
        const fs::path dir = (c.is & GroupFolder) ? makeFolder("group", 0, u.team, 02775) : makeFolder("own", u.saver, u.team, 0755);
        const fs::path name = dir / "p.dal", second = dir / "second.dal";
        const std::string acl = aclGranting(u.colleague);
        if ((c.is & InheritedAcl) &&
            ::setxattr(dir.c_str(), "system.posix_acl_default", acl.data(), acl.size(), 0) != 0) {
            ASSERT_EQ(errno, ENOTSUP);
            continue;  // a file system without ACLs
        }
        if (c.owner != None) {
            writeFile(name, kOld);
            if (c.is & InheritedAcl) ::removexattr(name.c_str(), "system.posix_acl_access");  // the file has none
            own(name, c.owner == Saver ? u.saver : u.colleague, group, c.mode);
            if (c.is & SecondName) fs::create_hard_link(name, second);
            if (c.is & Attributes) {
                const std::string note = "Halle 3";
                if (::setxattr(name.c_str(), "user.note", note.data(), note.size(), 0) != 0 ||
                    ::setxattr(name.c_str(), "system.posix_acl_access", acl.data(), acl.size(), 0) != 0) {
                    ASSERT_EQ(errno, ENOTSUP);
                    continue;  // a file system without extended attributes
                }
            }
        }
        const auto names = listing(dir);
        const auto attributesBefore = attributes(name);
        struct stat before {};
        ::stat(name.c_str(), &before);
        if (c.is & Leftover) {
            const fs::path left = dir / (temporaryPrefixOf(name) + "0123456789abcdef");
            writeFile(left, "left");
            own(left, u.saver, u.team, 0200);
        }

        EXPECT_EQ(save(name, c.owner == None ? created : 0600, c.calls), 0);
        EXPECT_EQ(readFile(name), kNew);
        struct stat after {};
        ASSERT_EQ(::stat(name.c_str(), &after), 0);
        EXPECT_EQ(after.st_uid, c.owner == Colleague ? u.colleague : u.saver);
        EXPECT_EQ(after.st_gid, group);
        EXPECT_EQ(after.st_mode & 07777, c.mode);
        if (c.owner != None) {
            EXPECT_EQ(after.st_ino == before.st_ino, (c.is & InPlace) != 0);
        }
        EXPECT_EQ(fs::exists(second) && fs::equivalent(name, second), (c.is & SecondName) != 0);
        EXPECT_EQ(attributes(name), attributesBefore);
        EXPECT_EQ(listing(dir), c.owner == None ? std::vector<std::string>{"p.dal"} : names);  // nothing else
    }
}

TEST_F(SharedFolders, ALinkInAStickyFolderThatOthersMayWriteIsFollowedOnlyWhenItsOwnerIsTrusted) {
    if (!u.all) GTEST_SKIP() << "needs a second user: run as root";
    // Every link on the way counts, whether the name ends in it, runs through it as a folder or
    // meets it in another link's text; the kernel's own guard may be off (fs.protected_symlinks 0).
    enum Owner { Saver, Colleague, FolderOwner, Root };
    struct Link {
        const char* name;  // in the shared folder
        const char* text;  // "@" stands for the test's folder, which holds home and shared
        Owner owner;
    };
    const fs::path home = makeFolder("home", u.saver, u.team, 0755);
    const fs::path notes = home / "notes.txt", created = home / "created.dal";
    const struct {
        const char* what;
        mode_t folderMode;
        std::vector<Link> links;
        const char* saved;  // the name saved, in the shared folder
        bool followed;
    } cases[] = {
        {"a colleague's link to the saver's notes", 01777, {{"p.dal", "@/home/notes.txt", Colleague}}, "p.dal", false},
        {"a colleague's dangling link", 01777, {{"p.dal", "@/home/created.dal", Colleague}}, "p.dal", false},
        {"the saver's own link to a colleague's link", 01777,
         {{"p.dal", "hop.dal", Saver}, {"hop.dal", "@/home/notes.txt", Colleague}}, "p.dal", false},
        {"the saver's own dangling link", 01777, {{"p.dal", "../home/created.dal", Saver}}, "p.dal", true},
        {"the folder owner's link", 01777, {{"p.dal", "@/home/notes.txt", FolderOwner}}, "p.dal", true},
        {"the saver's link to the folder owner's link", 01777,
         {{"p.dal", "hop.dal", Saver}, {"hop.dal", "../home/notes.txt", FolderOwner}}, "p.dal", true},
        {"a colleague's link in a folder that is not sticky", 0777, {{"p.dal", "@/home/notes.txt", Colleague}},
         "p.dal", true},
        {"root's link in a folder root does not own", 01777, {{"p.dal", "@/home/notes.txt", Root}}, "p.dal", false},
        {"a colleague's link in a sticky folder the team may write", 01775,
         {{"p.dal", "@/home/notes.txt", Colleague}}, "p.dal", false},
        {"a colleague's link in a team folder", 01770, {{"p.dal", "@/home/notes.txt", Colleague}}, "p.dal", false},
        {"a colleague's folder link in a team folder", 01770, {{"proj", "../home", Colleague}}, "proj/notes.txt",
         false},
        {"a new file through a colleague's folder link in a team folder", 03770, {{"proj", "@/home", Colleague}},
         "proj/created.dal", false},
        {"the saver's own link in a team folder", 01770, {{"p.dal", "@/home/notes.txt", Saver}}, "p.dal", true},
        {"the folder owner's folder link in a team folder", 01770, {{"proj", "../home", FolderOwner}},
         "proj/notes.txt", true},
        {"a colleague's link in a sticky folder only its owner may write", 01755,
         {{"p.dal", "@/home/notes.txt", Colleague}}, "p.dal", true},
        {"a colleague's folder link to the saver's folder", 01777, {{"proj", "../home", Colleague}},
         "proj/notes.txt", false},
        {"a new file through a colleague's folder link", 01777, {{"proj", "@/home", Colleague}}, "proj/created.dal",
         false},
        {"the saver's own link through a colleague's folder link", 01777,
         {{"proj", "../home", Colleague}, {"mine.dal", "proj/notes.txt", Saver}}, "mine.dal", false},
        {"the saver's own link that climbs out of a colleague's folder link", 01777,
         {{"proj", "../home", Colleague}, {"mine.dal", "proj/../home/created.dal", Saver}}, "mine.dal", false},
        {"the saver's own folder link", 01777, {{"proj", "@/home/", Saver}}, "proj/notes.txt", true},
        {"a new file through the folder owner's folder link", 01777, {{"proj", "../home", FolderOwner}},
         "proj/created.dal", true},
        {"the saver's link through the saver's folder link", 01777,
         {{"proj", "..", Saver}, {"mine.dal", "proj/home/notes.txt", Saver}}, "mine.dal", true},
        {"a colleague's folder link in a folder that is not sticky", 0777, {{"proj", "../home", Colleague}},
         "proj/notes.txt", true},
        {"a name that climbs out of the shared folder", 01777, {}, "../home/notes.txt", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const fs::path shared = makeFolder("shared", u.folderOwner, u.team, c.folderMode);
        const auto uidOf = [&](Owner o) {
            return o == Saver ? u.saver : o == Colleague ? u.colleague : o == FolderOwner ? u.folderOwner : uid_t{0};
        };
        fs::remove(created);
        writeFile(notes, "notes");
        own(notes, u.saver, u.team, 0644);
        for (const Link& link : c.links) {
            std::string text = link.text;
            if (text.starts_with('@')) text.replace(0, 1, folder.dir.string());
            fs::create_symlink(text, shared / link.name);
            own(shared / link.name, uidOf(link.owner), u.team, 0);
        }
        const bool dangling = std::string(c.saved).ends_with("created.dal") ||
                              std::any_of(c.links.begin(), c.links.end(),
                                          [](const Link& l) { return std::string(l.text).ends_with("created.dal"); });
        const auto sharedNames = listing(shared);

        EXPECT_EQ(save((shared / c.saved).string(), dangling ? newFileMode() : 0600), c.followed ? 0 : 70);
        EXPECT_EQ(readFile(notes), c.followed && !dangling ? kNew : "notes");
        EXPECT_EQ(fs::exists(created), c.followed && dangling);
        EXPECT_EQ(listing(home), (c.followed && dangling ? std::vector<std::string>{"created.dal", "notes.txt"}
                                                         : std::vector<std::string>{"notes.txt"}));
        EXPECT_EQ(listing(shared), sharedNames);
        for (const Link& link : c.links) EXPECT_TRUE(fs::is_symlink(shared / link.name)) << link.name;
    }
}

TEST_F(SharedFolders, EachGuardOfASaveKeepsTheFileItMustNotWrite) {
    // Another save's lock on the file written in place: busy for the first three tries.
    static int tries = 0;
    detail::FileCalls released, shortWait;
    released.flock = [](int fd, int operation) {
        if (++tries <= 3) return test::refused<EWOULDBLOCK>();
        return ::flock(fd, operation);
    };
    shortWait.lockWait = std::chrono::milliseconds(100);
    using Swap = void (*)(int, const char*);
    const Swap toLink = [](int folder, const char* name) {
        ::unlinkat(folder, name, 0);
        ::symlinkat("second.dal", folder, name);  // the very file, under its other name
    };
    const Swap toOther = [](int folder, const char* name) { ::renameat(folder, "other.dal", folder, name); };
    const struct {
        const char* what;
        mode_t mode;
        bool secondName;  // which makes the save write in place
        Swap swap;
        bool lockHeld;
        detail::FileCalls calls;
        int code;
        std::string saved, second, other;  // what p.dal, second.dal and other.dal then hold
    } cases[] = {
        {"the saver's own write-protected file", 0444, false, nullptr, false, {}, 70, kOld, "", "other"},
        {"a link to the file swapped in before the open", 0644, true, toLink, false, {}, 75, "", kOld, "other"},
        {"another file swapped in before the open", 0644, true, toOther, false, {}, 75, "other", kOld, ""},
        {"another save's lock held throughout", 0644, true, nullptr, true, shortWait, 75, kOld, kOld, "other"},
        {"another save's lock released meanwhile", 0644, true, nullptr, false, released, 0, kNew, kNew, "other"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const fs::path dir = makeFolder("own", u.saver, u.team, 0755);
        const fs::path name = dir / "p.dal", second = dir / "second.dal", other = dir / "other.dal";
        writeFile(name, kOld);
        own(name, u.saver, u.team, c.mode);
        if (c.secondName) fs::create_hard_link(name, second);
        writeFile(other, "other");
        own(other, u.saver, u.team, 0644);
        const int held = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
        ASSERT_GE(held, 0);
        if (c.lockHeld) {
            ASSERT_EQ(::flock(held, LOCK_EX), 0);
        }
        beforeInPlaceOpen = c.swap;
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(save(name.string(), 0600, c.calls), c.code);
        const auto took = std::chrono::steady_clock::now() - start;
        beforeInPlaceOpen = nullptr;
        // A lock held throughout is waited for as long as set (100 ms), not for the default 10 s.
        EXPECT_LT(took, std::chrono::seconds(3));
        if (c.lockHeld) {
            EXPECT_GE(took, std::chrono::milliseconds(100));
        }
        ::close(held);
        EXPECT_EQ(fs::is_symlink(name) ? "" : readFile(name), c.saved);
        EXPECT_EQ(fs::exists(second) ? readFile(second) : "", c.second);
        EXPECT_EQ(fs::exists(other) ? readFile(other) : "", c.other);
        struct stat st {};
        ASSERT_EQ(::lstat(name.c_str(), &st), 0);
        if (!c.swap) {
            EXPECT_EQ(st.st_mode & 07777, c.mode);
        }
    }
}

TEST_F(SharedFolders, ALinkOnProcStandsForWhatTheSystemReachesNotForItsText) {
    // A process's working folder and open files, whose /proc texts may name what another user made.
    const fs::path mine = makeFolder("own", u.saver, u.team, 0755), shared = folder.dir / "shared";
    const fs::path p = mine / "p.dal", gone = shared / "p.dal", work = shared / "work";
    enum What { RemovedWorkingFolder, OpenFile, RemovedOpenFile, RemovedWithItsFolder, Pipe };
    const struct {
        const char* what;
        What is;
        int code;
        const char* planted;  // another user's, under the text /proc shows
    } cases[] = {
        {"the working folder, removed", RemovedWorkingFolder, 76, "work (deleted)"},
        {"an open file, which the text names", OpenFile, 0, nullptr},
        {"an open file, removed", RemovedOpenFile, 0, "p.dal (deleted)"},
        {"an open file, removed with its folder, so that its text leads nowhere", RemovedWithItsFolder, 0, nullptr},
        {"a pipe", Pipe, 75, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.planted && !u.all) continue;  // needs a second user
        makeFolder("shared", u.folderOwner, u.team, 01777);
        writeFile(p, kOld);
        own(p, u.saver, u.team, 0644);
        struct stat before {};
        ::stat(p.c_str(), &before);
        const fs::path planted = shared / (c.planted ? c.planted : "none");
        if (c.is == RemovedWorkingFolder) {
            fs::create_directory(work);
            own(work, u.saver, u.team, 0755);
            fs::create_directory(planted);
            own(planted, u.colleague, u.team, 0777);
        } else if (c.is == RemovedOpenFile) {
            fs::copy_file(p, gone);
            own(gone, u.saver, u.team, 0644);
            writeFile(planted, "planted");
            own(planted, u.colleague, u.team, 0666);
        } else if (c.is == RemovedWithItsFolder) {
            fs::create_directory(work);
            own(work, u.saver, u.team, 0755);
            fs::copy_file(p, work / "p.dal");
            own(work / "p.dal", u.saver, u.team, 0644);
        }
        const int code = unprivileged::runAs(u.saverUser(), [&] {
            int fd = -1, ends[2];
            std::string name = "/proc/self/cwd/p.dal";
            if (c.is == RemovedWorkingFolder && (::chdir(work.c_str()) != 0 || ::rmdir(work.c_str()) != 0)) return 251;
            if (c.is == OpenFile) fd = ::open(p.c_str(), O_RDONLY);
            if (c.is == RemovedOpenFile && (fd = ::open(gone.c_str(), O_RDONLY)) >= 0) ::unlink(gone.c_str());
            if (c.is == RemovedWithItsFolder && (fd = ::open((work / "p.dal").c_str(), O_RDONLY)) >= 0 &&
                (::unlink((work / "p.dal").c_str()) != 0 || ::rmdir(work.c_str()) != 0)) {
                return 251;
            }
            if (c.is == Pipe && ::pipe(ends) == 0) fd = ends[0];
            if (c.is != RemovedWorkingFolder) name = "/proc/self/fd/" + std::to_string(fd);
            const int error = errorOf([&] { detail::ReplaceFile(name, kNew); });
            char held[64] = {};
            // The removed file itself holds the new project.
            if ((c.is == RemovedOpenFile || c.is == RemovedWithItsFolder) &&
                (::pread(fd, held, sizeof held, 0) < 0 || held != kNew)) {
                return 252;
            }
            return error;
        });
        EXPECT_EQ(code, c.code);
        EXPECT_EQ(readFile(p), c.is == OpenFile ? kNew : kOld);
        if (c.is == OpenFile) {
            struct stat after {};
            ::stat(p.c_str(), &after);
            EXPECT_NE(after.st_ino, before.st_ino);  // saved through its folder, as any file
            EXPECT_EQ(after.st_mode & 07777, 0644u);
        }
        if (c.is == RemovedWorkingFolder) {
            EXPECT_TRUE(fs::is_empty(planted));
        }
        if (c.is == RemovedOpenFile) {
            EXPECT_EQ(readFile(planted), "planted");
        }
        EXPECT_EQ(listing(shared), c.planted ? std::vector<std::string>{c.planted} : std::vector<std::string>{});
    }
}

TEST_F(SharedFolders, AFileInAnotherMountNamespaceIsSavedThroughItsProcessRoot) {
    // A process in a mount namespace of its own (a container) sees another file under the name.
    const fs::path x = makeFolder("x", u.saver, u.team, 0755), p = x / "p.dal";
    writeFile(p, kOld);
    own(p, u.saver, u.team, 0644);
    int release[2], ready[2];
    ASSERT_EQ(::pipe(release), 0);
    ASSERT_EQ(::pipe(ready), 0);
    pid_t holder = -1;
    std::string missing;
    {
        OwnMounts theirs;
        if (theirs.missing.empty() && theirs.mountFor(x, u.saver, u.team)) {
            writeFile(p, "theirs");
            own(p, u.saver, u.team, 0644);
            holder = ::fork();
            if (holder == 0) {  // stays in their namespace as the saver, whose /proc it may read
                char c = 0;
                if (::setgroups(0, nullptr) != 0 || ::setresgid(u.team, u.team, u.team) != 0 ||
                    ::setresuid(u.saver, u.saver, u.saver) != 0 || ::prctl(PR_SET_DUMPABLE, 1) != 0 ||
                    ::write(ready[1], "r", 1) != 1) {
                    ::_exit(1);
                }
                ::close(release[1]);
                while (::read(release[0], &c, 1) > 0) {
                }
                ::_exit(0);
            }
        }
        missing = theirs.missing;
    }
    ::close(release[0]);
    ::close(ready[1]);
    char c = 0;
    if (holder < 0 || ::read(ready[0], &c, 1) != 1) {
        ::close(release[1]);
        if (holder > 0) ::waitpid(holder, nullptr, 0);
        GTEST_SKIP() << (missing.empty() ? "no process in another namespace" : missing);
    }
    // An absolute link text on the way would lead back to this namespace, for the system as well.
    const std::string name = "/proc/" + std::to_string(holder) + "/root" + fs::canonical(p).string();
    EXPECT_EQ(save(name, 0600), 0);
    EXPECT_EQ(readFile(name), kNew);
    EXPECT_EQ(errorOf([&] { EXPECT_EQ(detail::ReadRegularFile(name, 100), kNew); }), 0);
    EXPECT_EQ(readFile(p), kOld);  // this namespace's file of that name
    EXPECT_EQ(listing(x), std::vector<std::string>{"p.dal"});
    ::close(release[1]);
    ::close(ready[0]);
    ::waitpid(holder, nullptr, 0);
}

TEST_F(SharedFolders, LinksOnAFileSystemMountedNosymfollowAreRefusedAsTheSystemRefusesThem) {
    const fs::path outside = makeFolder("outside", u.saver, u.team, 0755);
    const fs::path mounted = makeFolder("nsf", u.saver, u.team, 0755);
    OwnMounts mounts;
    if (!mounts.missing.empty() || !mounts.mountFor(mounted, u.saver, u.team, MS_NOSYMFOLLOW)) {
        GTEST_SKIP() << mounts.missing;
    }
    const fs::path notes = mounted / "notes.txt", sub = mounted / "sub";
    fs::create_directory(sub);
    own(sub, u.saver, u.team, 0755);
    fs::create_symlink("notes.txt", mounted / "p.dal");
    fs::create_symlink("sub", mounted / "proj");
    fs::create_symlink(notes, outside / "in.dal");
    for (const fs::path& link : {mounted / "p.dal", mounted / "proj", outside / "in.dal"}) {
        own(link, u.saver, u.team, 0);
    }
    const struct {
        const char* what;
        fs::path name;
        bool saved;
    } cases[] = {
        {"a file link", mounted / "p.dal", false},
        {"a folder link", mounted / "proj" / "new.dal", false},
        {"a name without links", sub / "plain.dal", true},
        {"a link elsewhere to a file on the mount", outside / "in.dal", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        writeFile(notes, "notes");
        own(notes, u.saver, u.team, 0644);
        fs::remove(sub / "plain.dal");
        const int system = ::open(c.name.c_str(), O_RDONLY | O_CREAT, 0644);  // the system's own lookup agrees
        EXPECT_EQ(system >= 0 ? 0 : errno, c.saved ? 0 : ELOOP);
        if (system >= 0) ::close(system);
        fs::remove(sub / "plain.dal");

        EXPECT_EQ(save(c.name.string(), c.name == sub / "plain.dal" ? newFileMode() : 0600), c.saved ? 0 : 75);
        EXPECT_EQ(readFile(notes), c.name == outside / "in.dal" ? kNew : "notes");
        EXPECT_EQ(listing(sub), c.name == sub / "plain.dal" ? std::vector<std::string>{"plain.dal"}
                                                            : std::vector<std::string>{});
        EXPECT_EQ(listing(mounted), (std::vector<std::string>{"notes.txt", "p.dal", "proj", "sub"}));
    }
}
