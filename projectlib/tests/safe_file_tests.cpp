// Replacing a file in folders that other users share: what the file was stays, links are
// followed only where the kernel's guard against planted links would follow them, and no file is
// written that the save must not write. The saves run as a second user in a child process where
// the tests run as root.
#include "test_support.h"
#include "testing/as_user.h"

#include <cstring>
#include <map>
#include <optional>

#include <sys/stat.h>
#include <sys/xattr.h>

using namespace corlink;
using namespace corlink::test;

namespace {

const std::string kOld = "the old project, longer than the new one";
const std::string kNew = "the new project";

// The users of a shared folder: the saver, a colleague in the saver's team, a group the saver is
// also in, and one the saver is not in. Where the tests do not run as root, only the saver, who
// is the user running them.
struct Users {
    uid_t saver, colleague;
    gid_t team, extra, foreign;
    bool all;  // the colleague and the groups exist
    unprivileged::User saverUser() const { return {saver, team, all, {extra}}; }
};
Users users() {
    if (::geteuid() == 0) return {61001, 61002, 61000, 61003, 61004, true};
    return {::geteuid(), ::geteuid(), ::getegid(), ::getegid(), ::getegid(), false};
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
    if (!(flags & O_CREAT) && beforeInPlaceOpen) beforeInPlaceOpen(folder, name);
    const int fd = ::openat(folder, name, flags, mode);
    struct stat st {};
    if (fd >= 0 && (flags & O_CREAT) && ::fstat(fd, &st) == 0) createdMode = st.st_mode & 07777;
    return fd;
}

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
    enum Owner { Saver, Colleague, FolderOwner };
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
        {"a colleague's link in a sticky folder of the team alone", 01775,
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
        const fs::path shared = makeFolder("shared", 0, u.team, c.folderMode);
        const auto uidOf = [&](Owner o) { return o == Saver ? u.saver : o == Colleague ? u.colleague : uid_t{0}; };
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
        EXPECT_EQ(save(name.string(), 0600, c.calls), c.code);
        beforeInPlaceOpen = nullptr;
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
