// The exceptions by which readers report a bad file. None carries a user text: whoever shows
// one composes the message from its class and fields (FileMessages.h).
#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <exception>

namespace gs {

using TSignature = std::array<std::uint8_t, 3>;

// A file to be read does not exist.
class EWrongFileName : public std::exception {
public:
  explicit EWrongFileName(QString fileName) : m_fileName(std::move(fileName)) {}
  const QString& FileName() const { return m_fileName; }
  const char* what() const noexcept override { return "file not found"; }

private:
  QString m_fileName;
};

// The file's signature is not the expected one; Signature is the expected kind's.
class EWrongFormat : public std::exception {
public:
  explicit EWrongFormat(const TSignature& signature) : m_signature(signature) {}
  const TSignature& Signature() const { return m_signature; }
  const char* what() const noexcept override { return "wrong file format"; }

private:
  TSignature m_signature;
};

// The file's format version or structure version is newer than supported.
class EWrongVersion : public EWrongFormat {
public:
  using EWrongFormat::EWrongFormat;
  const char* what() const noexcept override { return "newer file version"; }
};

// A body reader met an impossible value, or the data ended early, at Position.
class EWrongStructure : public std::exception {
public:
  explicit EWrongStructure(qint64 position) : m_position(position) {}
  qint64 Position() const { return m_position; }
  const char* what() const noexcept override { return "structural error"; }

private:
  qint64 m_position;
};

// An existing file that cannot be opened for reading, or a file that cannot be written.
class EFileAccess : public std::exception {
public:
  EFileAccess(QString fileName, bool writing) : m_fileName(std::move(fileName)), m_writing(writing) {}
  const QString& FileName() const { return m_fileName; }
  bool Writing() const { return m_writing; }
  const char* what() const noexcept override { return m_writing ? "cannot write file" : "cannot read file"; }

private:
  QString m_fileName;
  bool m_writing;
};

} // namespace gs
