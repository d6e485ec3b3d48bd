// One running instance per program folder: a second start hands its arguments to the first
// over a local socket and ends. The first records what it receives until a receiver (the main
// window) takes the arguments.
#pragma once

#include <QLocalServer>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

namespace gs {

class TSingleInstance {
public:
  explicit TSingleInstance(const QString& programDir);
  ~TSingleInstance();
  TSingleInstance(const TSingleInstance&) = delete;
  TSingleInstance& operator=(const TSingleInstance&) = delete;

  const QString& ServerName() const { return m_name; }
  // True when a running instance took every argument (this one should then end). Arguments
  // that name existing files are sent as absolute paths.
  bool ForwardToRunning(const QStringList& args, int timeoutMs = 2000);
  // Becomes the running instance; false when the socket cannot be had.
  bool Listen();
  // From now on each received argument goes to receiver; the recorded ones go first.
  void SetReceiver(std::function<void(const QString&)> receiver);
  QStringList Pending() const { return m_pending; }

private:
  void Accept();
  void Deliver(const QString& argument);

  QString m_name;
  std::unique_ptr<QLocalServer> m_server;
  std::function<void(const QString&)> m_receiver;
  QStringList m_pending;
};

// Messages are a 4-byte little-endian count of UTF-16 code units and then the code units.
QByteArray EncodeArgument(const QString& argument);
// Takes every complete message from the front of buffer.
QStringList TakeArguments(QByteArray& buffer);

} // namespace gs
