// The built-in string and message tables: every text the program shows, in English, by
// section and id.
#pragma once

#include <cstddef>
#include <cstdint>

namespace gs {

enum class TLangSection { Captions, Hints, Strings };
enum class TMsgIcon { Information, Warning, Error, Question };
enum class TMsgButtons { Ok, YesNo, YesNoCancel };

// One entry of the string table.
struct TLangData {
  TLangSection section;
  std::uint16_t id;
  const char16_t* text;
};

// One message: its id in "Strings", the English text and the message box it is shown in.
struct TMsgData {
  std::uint16_t id;
  const char16_t* text;
  TMsgIcon icon;
  TMsgButtons buttons;
};

extern const TLangData kBuiltinStrings[];
extern const std::size_t kBuiltinStringCount;
extern const TMsgData kBuiltinMessages[];
extern const std::size_t kBuiltinMessageCount;

// Message ids used by name.
enum TMessageId : std::uint16_t {
  msgFileNotFound = 500,
  msgFileReadLocked = 501,
  msgFileWriteLocked = 502,
  msgWrongFormat = 503,
  msgWrongVersion = 504,
  msgWrongStructure = 505,
  msgWrongStructureOpen = 506,
};

} // namespace gs
