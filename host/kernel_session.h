// One device shown by koral: the module's kernel of the chosen edition, the
// virtual mouse behind it, and the host's rhythm of commits. The session makes
// the kernel through the module's registered factory, attaches it, lets the
// mouse report what it holds, and commits after every change it hears of
// (debounced), now and then for edits it is not told of, and before it lets go.
#pragma once

#include "module/kernel_host_interfaces.h"
#include "module/page_interfaces.h"

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

class ctrl_center_c;
class host_catalogue_c;
class module_host_c;
class profile_service_c;
class virtual_mouse_c;

class kernel_session_c : public QObject {
    Q_OBJECT
public:
    static constexpr int commit_delay_ms = 300;
    // Pages change the profile set without telling the host; this catches those.
    static constexpr int rhythm_ms = 3000;
    // A profile blob is a few hundred kilobytes at most.
    static constexpr qint64 max_profile_file_bytes = 16 * 1024 * 1024;
    static constexpr int profile_slots = 5;

    // `folder` is the host's data folder (the virtual mice keep their memory
    // there); `catalogue` names the editions' segments and may be null.
    kernel_session_c(module_host_c* host, ctrl_center_c* centre, const host_catalogue_c* catalogue,
                     const QString& folder, QObject* parent = nullptr);
    ~kernel_session_c() override;

    // Where the kernel's pages go.
    void set_page_area(QWidget* area) { m_page_area = area; }
    // The class id of an edition's kernel factory (0 for an unknown edition).
    static int32_t kernel_class(int32_t product_type);
    // The catalogue name of an edition, for segment keys.
    QString alias(int32_t product_type) const;

    // Lets go of the current kernel and makes one of the edition; false when
    // the module offers none (the session is then closed).
    bool open(int32_t product_type);
    // Commits what is pending, detaches the mouse and releases the kernel.
    void close();

    product_kernel_i* kernel() const { return m_kernel; }
    virtual_mouse_c* mouse() const { return m_mouse.get(); }
    profile_service_c* service() const;
    int32_t edition() const { return m_edition; }
    bool is_open() const { return m_kernel != nullptr; }

    // Profile operations; each change is committed on the host's rhythm.
    // A new profile never goes without a name, nor shares one with another:
    // an appended one without a name gets "Profile n", and a new name that is
    // taken (an inserted one starts with the name of the one it goes before)
    // becomes a numbered variant of it.
    void select_profile(int slot);
    bool append_profile();
    bool insert_profile(int slot);
    bool delete_profile(int slot);
    // Stores `name`, trimmed and cut to what a profile keeps; returns the name
    // now stored, or an empty text when nothing was renamed (no such slot,
    // or nothing left of the name).
    QString rename_profile(int slot, const QString& name);
    // The names of the profiles in use, without the one of slot `except`.
    QStringList profile_names(int except = -1) const;
    // Reads a profile file into a slot in use; a name another profile has
    // becomes a numbered variant. False with a person-readable `error`.
    bool import_profile(int slot, const QString& file, QString* error);
    bool export_profile(int slot, const QString& file, QString* error);

    // Commits now; true when the kernel published data.
    bool commit_now();
    // Asks for a commit after commit_delay_ms; calls in between fold into one.
    void schedule_commit();
    bool commit_pending() const { return m_commit_timer.isActive(); }
    int published_commits() const { return m_published; }

    // While a hold lasts, the host's timers commit nothing: a screenshot run
    // passes through states a person would not leave the mouse in (a preset
    // with a blank row), and a commit in between would make the module clear
    // the buttons that do not fit it. What changed meanwhile is committed once
    // the last hold ends; close() still commits at once.
    class commit_hold {
    public:
        explicit commit_hold(kernel_session_c* session);
        ~commit_hold();
        commit_hold(const commit_hold&) = delete;
        commit_hold& operator=(const commit_hold&) = delete;

    private:
        QPointer<kernel_session_c> m_session;
    };
    bool commits_held() const { return m_holds > 0; }

signals:
    void kernel_changed();
    // Names, slots or the current profile changed.
    void profiles_changed();
    // The mouse's memory or the commands it saw changed.
    void device_changed();

private:
    class watch_c;

    QString text(int32_t id) const;
    void on_kernel_news(bool profiles);
    // The commit timers' work: a commit, unless commits are held.
    void timed_commit();
    // The pages edit the slot the centre reports: it follows the kernel's current profile.
    void sync_profile_slot();

    module_host_c* m_host;
    ctrl_center_c* m_centre;
    const host_catalogue_c* m_catalogue;
    QString m_folder;
    QPointer<QWidget> m_page_area;
    product_kernel_i* m_kernel = nullptr;
    int32_t m_edition = 0;
    std::unique_ptr<watch_c> m_watch;
    std::unique_ptr<virtual_mouse_c> m_mouse;
    int m_holds = 0;
    bool m_commit_held = false;
    QTimer m_commit_timer;
    QTimer m_rhythm;
    int m_published = 0;
};
