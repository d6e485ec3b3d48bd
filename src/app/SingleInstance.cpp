#include "app/SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QtEndian>

namespace gs {
namespace {

// A message longer than any path or switch is a stranger's: the connection is dropped.
constexpr quint32 kMaxArgumentUnits = 1u << 20;

} // namespace

QByteArray EncodeArgument(const QString& argument) {
  QByteArray bytes(4 + argument.size() * 2, Qt::Uninitialized);
  qToLittleEndian<quint32>(quint32(argument.size()), bytes.data());
  qToLittleEndian<quint16>(argument.utf16(), argument.size(), bytes.data() + 4);
  return bytes;
}

QStringList TakeArguments(QByteArray& buffer) {
  QStringList arguments;
  qsizetype at = 0;
  while (buffer.size() - at >= 4) {
    const quint32 units = qFromLittleEndian<quint32>(buffer.constData() + at);
    if (units > kMaxArgumentUnits) {
      buffer.clear();
      return arguments;
    }
    if (buffer.size() - at - 4 < qsizetype(units) * 2) break;
    QString text(qsizetype(units), Qt::Uninitialized);
    qFromLittleEndian<quint16>(buffer.constData() + at + 4, units, text.data());
    arguments << text;
    at += 4 + qsizetype(units) * 2;
  }
  buffer.remove(0, at);
  return arguments;
}

TSingleInstance::TSingleInstance(const QString& programDir) {
  // One folder, however it is spelled, gives one name.
  const QByteArray folder = QDir::cleanPath(QDir(programDir).absolutePath()).toUtf8();
  const QByteArray hash = QCryptographicHash::hash(folder, QCryptographicHash::Sha1).toHex().left(16);
  m_name = QStringLiteral("glossmith-") + QString::fromLatin1(hash);
}

TSingleInstance::~TSingleInstance() = default;

bool TSingleInstance::ForwardToRunning(const QStringList& args, int timeoutMs) {
  QLocalSocket socket;
  socket.connectToServer(m_name);
  if (!socket.waitForConnected(timeoutMs)) return false;
  for (const QString& arg : args) {
    const QFileInfo file(arg);
    socket.write(EncodeArgument(file.exists() ? file.absoluteFilePath() : arg));
  }
  socket.flush();
  while (socket.bytesToWrite() > 0)
    if (!socket.waitForBytesWritten(timeoutMs)) return false;
  socket.disconnectFromServer();
  return true;
}

bool TSingleInstance::Listen() {
  m_server = std::make_unique<QLocalServer>();
  m_server->setSocketOptions(QLocalServer::UserAccessOption);
  if (!m_server->listen(m_name)) {
    // A socket left by an instance that crashed: nobody answered ForwardToRunning.
    QLocalServer::removeServer(m_name);
    if (!m_server->listen(m_name)) return false;
  }
  QObject::connect(m_server.get(), &QLocalServer::newConnection, m_server.get(), [this] { Accept(); });
  return true;
}

void TSingleInstance::Accept() {
  while (QLocalSocket* socket = m_server->nextPendingConnection()) {
    auto buffer = std::make_shared<QByteArray>();
    const auto read = [this, socket, buffer] {
      buffer->append(socket->readAll());
      for (const QString& arg : TakeArguments(*buffer)) Deliver(arg);
    };
    QObject::connect(socket, &QLocalSocket::readyRead, socket, read);
    QObject::connect(socket, &QLocalSocket::disconnected, socket, [socket, read] {
      read();
      socket->deleteLater();
    });
    read();
  }
}

void TSingleInstance::Deliver(const QString& argument) {
  if (m_receiver) m_receiver(argument);
  else m_pending << argument;
}

void TSingleInstance::SetReceiver(std::function<void(const QString&)> receiver) {
  m_receiver = std::move(receiver);
  const QStringList pending = std::exchange(m_pending, {});
  if (m_receiver)
    for (const QString& arg : pending) m_receiver(arg);
}

} // namespace gs
