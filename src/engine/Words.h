// The line being built, as words and the spacers that follow them. Element 0 holds no word,
// only the leading spacer; element i (i >= 1) holds word i and the spacer after it.
#pragma once

#include <QString>
#include <functional>
#include <vector>

namespace gs {

class TGenerator;

struct TWord2 {
  QString Word;
  QString Spacer;
};

class TWords {
public:
  explicit TWords(TGenerator* owner = nullptr) : m_owner(owner) {}  // not owned

  // The elements past the count keep their buffers for the next line.
  void Clear() { m_count = 0; }
  int Count() const { return m_count == 0 ? 0 : m_count - 1; }
  // Empty beyond the list, and for index 0.
  const QString& GetWord(int index) const;
  const QString& GetSpacer(int index) const;
  // Grow the list to index + 1 elements when needed.
  void SetWord(int index, const QString& text);
  void SetSpacer(int index, const QString& text);
  QString Line() const;

  // Fills an empty list from a template; classify(position, character) tells whether the
  // character at that 1-based position is a spacer character.
  using TClassify = std::function<bool(int position, QChar character)>;
  void Split(const QString& templ, const TClassify& isSpacer);

  TGenerator* Owner() const { return m_owner; }

private:
  // Makes index + 1 (more than the count) elements, the new ones empty.
  void Grow(int index);

  TGenerator* m_owner;
  std::vector<TWord2> m_items;
  int m_count = 0;  // the elements in use
};

// Copies text into target's own buffer when that has room, else shares text: buffers that are
// filled again for every line are allocated once.
void CopyInto(QString& target, const QString& text);
void CopyInto(QString& target, QStringView text);  // a copy of the characters, never shared
void AppendTo(QString& target, const QString& text);

// count characters from the 1-based start: a start below 1 counts as 1 without shortening the
// count; a count past the end stops there; a start past the end or a negative count gives "".
QString Substring(const QString& text, int start, int count);
QStringView SubstringView(QStringView text, int start, int count);

// Measures of the word being worked on (word w of length L, position p, sample s).
int LengthToEnd(int wordLength, int position, const QString& sample);
QString WordStart(const QString& word, int position);
QString WordEnd(const QString& word, int wordLength, int position, const QString& sample);
// Each character replaced by its class: "$" consonant, "@" vowel, "^" the Cyrillic signs.
QString WordScheme(const QString& text);

} // namespace gs
