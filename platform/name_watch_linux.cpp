#include "platform/name_watch.h"

#include <errno.h>
#include <limits.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <deque>
#include <string_view>

namespace plotvik {

namespace {

// As many symbolic links as the system follows in one name before it calls it a loop.
constexpr int kMaxLinks = 40;

std::deque<std::string> Components(const std::string& path) {
  std::deque<std::string> parts;
  std::size_t from = 0;
  while (from <= path.size()) {
    std::size_t to = path.find('/', from);
    if (to == std::string::npos) to = path.size();
    if (to > from) parts.emplace_back(path, from, to - from);
    from = to + 1;
  }
  return parts;
}

// Changes made on another machine reach no notification here.
bool Remote(const std::string& path) {
  struct statfs info {};
  if (::statfs(path.c_str(), &info) != 0) return false;
  switch (static_cast<unsigned long>(info.f_type)) {
    case 0x6969:      // NFS
    case 0x517B:      // SMB
    case 0xFF534D42:  // CIFS
    case 0xFE534D42:  // SMB2
    case 0x65735546:  // FUSE (sshfs and the like)
    case 0x01021997:  // 9P
    case 0x00C36400:  // Ceph
    case 0x5346414F:  // AFS
    case 0x73757245:  // Coda
    case 0x564C:      // NCP
      return true;
    default:
      return false;
  }
}

}  // namespace

TNamePath ResolveName(const std::string& name) {
  TNamePath path;
  if (name.empty() || name.find('\0') != std::string::npos) {
    path.complete = false;
    return path;
  }
  std::deque<std::string> rest = Components(name);
  // The folder reached so far; empty for the root.
  std::string reached;
  if (name[0] != '/') {
    char cwd[PATH_MAX];
    if (::getcwd(cwd, sizeof cwd) == nullptr) {
      path.complete = false;
      return path;
    }
    reached = cwd;
    if (reached == "/") reached.clear();
  }
  int links = 0;
  bool isFolder = true;
  while (!rest.empty()) {
    std::string part = std::move(rest.front());
    rest.pop_front();
    if (part == ".") continue;
    if (part == "..") {
      reached.erase(std::min(reached.size(), reached.rfind('/')));
      continue;
    }
    if (!isFolder) return path;  // a file with more after it: the name stands for nothing
    path.entries.emplace_back(reached.empty() ? "/" : reached, part);
    const std::string candidate = reached + "/" + part;
    struct stat status {};
    if (::lstat(candidate.c_str(), &status) != 0) {
      if (errno != ENOENT && errno != ENOTDIR) path.complete = false;
      return path;
    }
    if (S_ISLNK(status.st_mode)) {
      if (++links > kMaxLinks) {
        path.complete = false;
        return path;
      }
      std::string target(static_cast<std::size_t>(std::max<off_t>(status.st_size, 0)) + 1, '\0');
      const ssize_t got = ::readlink(candidate.c_str(), target.data(), target.size());
      if (got <= 0 || static_cast<std::size_t>(got) >= target.size()) {
        // Changed under us: the next update sees it as it then is.
        path.complete = false;
        return path;
      }
      target.resize(static_cast<std::size_t>(got));
      if (target[0] == '/') reached.clear();
      std::deque<std::string> more = Components(target);
      rest.insert(rest.begin(), more.begin(), more.end());
      continue;
    }
    reached = candidate;
    isFolder = S_ISDIR(status.st_mode);
  }
  path.file = reached.empty() ? "/" : reached;
  return path;
}

TNameWatch::TNameWatch(std::string name) : name_(std::move(name)) {
  fd_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
}

TNameWatch::~TNameWatch() {
  if (fd_ >= 0) ::close(fd_);
}

bool TNameWatch::Update() {
  if (fd_ < 0) return false;
  constexpr std::uint32_t kFolderEvents = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO |
                                          IN_ATTRIB | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR |
                                          IN_DONT_FOLLOW;
  constexpr std::uint32_t kFileEvents =
      IN_MODIFY | IN_ATTRIB | IN_CLOSE_WRITE | IN_DELETE_SELF | IN_MOVE_SELF | IN_DONT_FOLLOW;
  const TNamePath path = ResolveName(name_);
  bool whole = path.complete;
  std::map<int, TWatched> watched;
  // A folder or file already watched keeps its watch: the system hands back the same one.
  for (const auto& [folder, entry] : path.entries) {
    const int wd = ::inotify_add_watch(fd_, folder.c_str(), kFolderEvents);
    if (wd < 0) {
      whole = false;
      continue;
    }
    watched[wd].entries.push_back(entry);
  }
  if (!path.entries.empty() && Remote(path.entries.back().first)) whole = false;
  if (!path.file.empty()) {
    const int wd = ::inotify_add_watch(fd_, path.file.c_str(), kFileEvents);
    if (wd < 0) {
      whole = false;
    } else {
      watched[wd].file = true;
      if (Remote(path.file)) whole = false;
    }
  }
  for (const auto& [wd, what] : watched_) {
    if (!watched.contains(wd)) ::inotify_rm_watch(fd_, wd);
  }
  watched_ = std::move(watched);
  return whole;
}

bool TNameWatch::TakeChanges() {
  if (fd_ < 0) return false;
  bool concerns = false;
  alignas(inotify_event) char buffer[16384];
  for (;;) {
    const ssize_t got = ::read(fd_, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    for (ssize_t at = 0; at + static_cast<ssize_t>(sizeof(inotify_event)) <= got;) {
      inotify_event event;
      std::memcpy(&event, buffer + at, sizeof event);
      const char* entry = buffer + at + sizeof event;
      at += static_cast<ssize_t>(sizeof event + event.len);
      if (event.mask & IN_Q_OVERFLOW) {
        concerns = true;
        continue;
      }
      const auto found = watched_.find(event.wd);
      // A watch given up already: its last word, about a place no longer on the way.
      if (found == watched_.end()) continue;
      const TWatched& what = found->second;
      // Without a name, the event is about the watched folder or file itself.
      if (what.file || event.len == 0) {
        concerns = true;
        continue;
      }
      const std::string_view name(entry, ::strnlen(entry, event.len));
      if (std::find(what.entries.begin(), what.entries.end(), name) != what.entries.end()) {
        concerns = true;
      }
    }
  }
  return concerns;
}

}  // namespace plotvik
