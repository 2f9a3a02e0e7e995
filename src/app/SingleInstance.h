#pragma once
// One running program per user and program folder. The first start listens
// on a local socket; a later start finds it, asks it to bring its main window
// forward, and ends. The socket lives in the user's runtime folder, so
// programs of other users, and test runs with their own runtime folder, never
// meet.

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class QLocalServer;

namespace kalvara {

class SingleInstance : public QObject {
    Q_OBJECT

public:
    // `base_name` names the program ("ZORV5"); `program_folder` tells two
    // installations of one user apart.
    SingleInstance(const QString& base_name, const QString& program_folder);
    ~SingleInstance() override;

    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // The socket's full path: $XDG_RUNTIME_DIR (or the temporary folder),
    // then the base name, the user and a hash of the program folder.
    const QString& SocketPath() const { return socket_path_; }

    // True when another instance answered and was asked to come forward; the
    // caller then ends. False when none runs.
    bool ActivateOtherInstance();

    // Starts listening so that later starts find this one. A socket left by a
    // program that crashed is removed first. False when the socket cannot be
    // created.
    bool Claim();

    // Called whenever a later start asks this instance to come forward.
    void SetActivationHandler(std::function<void()> handler);

private:
    void OnNewConnection();

    QString socket_path_;
    std::unique_ptr<QLocalServer> server_;
    std::function<void()> activation_handler_;
};

} // namespace kalvara
