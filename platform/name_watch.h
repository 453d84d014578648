#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace plotvik {

// How a file name reaches what it names at one moment, taken apart by its bytes as the system
// takes it apart: every folder entry it goes through (the folders by names free of symbolic
// links, symbolic links followed), each a place where a change makes the name stand for
// something else.
struct TNamePath {
  // Folder and entry name in it, in the order they are gone through; the last is the named
  // file's own entry, or the first that is missing.
  std::vector<std::pair<std::string, std::string>> entries;
  // The file the name stands for, free of symbolic links; empty when an entry is missing.
  std::string file;
  // False when an entry could not be looked at (no access, a loop of symbolic links): what lies
  // beyond it is unknown.
  bool complete = true;
};

TNamePath ResolveName(const std::string& name);

// Watches a file name through the system's change notifications: the file it stands for, and
// every folder entry on its way there, so that a change of any of them (the file written, the
// file, a folder or a symbolic link on the way deleted, renamed, made again or pointed
// elsewhere) is told. Names are bytes: no encoding is assumed.
class TNameWatch {
 public:
  explicit TNameWatch(std::string name);
  ~TNameWatch();
  TNameWatch(const TNameWatch&) = delete;
  TNameWatch& operator=(const TNameWatch&) = delete;

  // Readable while changes wait to be taken; -1 when the system watches nothing for us.
  int Descriptor() const { return fd_; }
  // Resolves the name anew and watches what it goes through now. False when some part cannot
  // be watched (no notifications, an entry that cannot be looked at, no room for another watch,
  // a file system whose changes may come from other machines): the caller must look on a timer.
  bool Update();
  // Takes the waiting notifications; true when one of them may concern the name.
  bool TakeChanges();

 private:
  struct TWatched {
    // The entries of this folder that the name goes through; empty for the file itself.
    std::vector<std::string> entries;
    bool file = false;
  };

  std::string name_;
  int fd_ = -1;
  std::map<int, TWatched> watched_;
};

}  // namespace plotvik
