// The identifiers that resource_ids.h defines, read from the header itself, so the tests
// check every name the code can use without a second hand-written list of them.
#pragma once

#include <windows.h>

#include <fstream>
#include <regex>
#include <string>
#include <vector>

namespace restest {

struct ResourceId {
  std::string name;
  int value;
};

// The header beside the library's resource script. Tests run under Wine, where the build
// machine's file system is drive Z:. The source folder comes from the build, not __FILE__,
// which ccache's base_dir makes relative to the build tree.
inline std::string ResourceIdsHeaderPath() {
  // One literal: GCC 12 warns (an error here) about a run-time concatenation when the
  // folder's name happens to fit the string's inline buffer.
  return "Z:" PICTORNX_SOURCE_DIR "/src/resources/resource_ids.h";
}

// Every `#define <prefix>NAME <number>` of the header, in the order written.
inline std::vector<ResourceId> ResourceIdsWithPrefix(const std::string& prefix) {
  std::ifstream header(ResourceIdsHeaderPath());
  std::vector<ResourceId> ids;
  const std::regex define("^#define\\s+(" + prefix + "\\w+)\\s+(\\d+)\\b");
  std::string line;
  std::smatch match;
  while (std::getline(header, line))
    if (std::regex_search(line, match, define)) ids.push_back({match[1], std::stoi(match[2])});
  return ids;
}

}  // namespace restest
