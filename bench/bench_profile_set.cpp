// Timing of the profile-set blob and the profile blob: write_all, read_all,
// write_profile, read_profile and the kernel's commit() on a set with every slot
// filled, against the floor of one MD5 and one copy of the same bytes. Run by
// hand; the numbers are for comparing builds, not for tests.
#include "kernel/shm_pool.h"
#include "kernel/zarek_black_kernel.h"
#include "kernel/zarek_data.h"
#include "module/kernel_host_interfaces.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QSharedMemory>
#include <QtEndian>
#include <algorithm>
#include <vector>

#include <QBuffer>
#include <QGuiApplication>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <functional>

namespace {

void fill(zarek_data_c& d) {
    for (int s = 0; s < max_profile_slots; ++s) {
        d.name(s).set_name(QStringLiteral("Profile %1").arg(s + 1));
        for (int k = 0; k < button_count; ++k)
            d.btn_assign(s).set(k, {uint8_t(k), 1, 2});
        for (int k = 0; k < macros_per_slot; ++k)
            d.macro(s, k).b[100] = uint8_t(k);
        for (int key = 0; key < 8; ++key) {
            d.param_map(s).insert(key, btn_param_block());
            d.data_map(s).insert(key, btn_data_block());
            d.text_map(s).insert(key, QStringLiteral("C:/Program Files/app%1.exe").arg(key));
        }
        QImage image(64, 64, QImage::Format_ARGB32);
        image.fill(QColor(40 * s, 80, 120));
        d.picture(s) = QPixmap::fromImage(image);
    }
}

// Runs `op` `runs` times (after a few warm-up runs) and returns the median in microseconds.
double median_us(int runs, const std::function<void()>& op) {
    using clock = std::chrono::steady_clock;
    for (int i = 0; i < 3; ++i)
        op();
    std::vector<double> times;
    times.reserve(size_t(runs));
    for (int i = 0; i < runs; ++i) {
        const auto start = clock::now();
        op();
        times.push_back(std::chrono::duration<double, std::micro>(clock::now() - start).count());
    }
    std::nth_element(times.begin(), times.begin() + runs / 2, times.end());
    return times[size_t(runs / 2)];
}

double measure(const char* name, int runs, const std::function<void()>& op) {
    const double us = median_us(runs, op);
    std::printf("%-34s %10.1f us  (median of %d)\n", name, us, runs);
    return us;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    QGuiApplication app(argc, argv);
    QTemporaryDir dir;

    zarek_data_c set(nullptr, 8);
    set.set_favourites_file(dir.filePath(QStringLiteral("favourites")));
    fill(set);

    QByteArray blob;
    set.write_all(&blob);
    std::printf("profile-set blob: %d bytes\n", blob.size());
    measure("write_all", 200, [&] {
        QByteArray b;
        set.write_all(&b);
    });
    measure("read_all", 200, [&] { set.read_all(blob); });

    QBuffer profile;
    profile.open(QIODevice::WriteOnly);
    set.write_profile(&profile, 2);
    const QByteArray profile_bytes = profile.data();
    std::printf("profile blob: %d bytes\n", profile_bytes.size());
    measure("write_profile", 200, [&] {
        QBuffer b;
        b.open(QIODevice::WriteOnly);
        set.write_profile(&b, 2);
    });
    measure("read_profile", 200, [&] {
        QBuffer b;
        b.setData(profile_bytes);
        b.open(QIODevice::ReadOnly);
        set.read_profile(&b, 2);
    });

    // The floor a commit is compared with: the checksum and one copy of the blob.
    const double floor_us = measure("floor: MD5 + one copy", 200, [&] {
        QByteArray copy(blob.constData(), blob.size());
        QCryptographicHash::hash(copy, QCryptographicHash::Md5);
    });

    // A kernel loaded with the same set, as after the device's first message.
    zarek_black_kernel_c kernel;
    QSharedMemory offered(QStringLiteral("quil_bench_%1").arg(QCoreApplication::applicationPid()));
    offered.create(blob.size());
    offered.lock();
    std::memcpy(offered.data(), blob.constData(), size_t(blob.size()));
    offered.unlock();
    host_message_rec loaded{};
    const QByteArray key = offered.key().toLatin1();
    std::memcpy(loaded.bytes + 6, key.constData(), size_t(key.size()));
    kernel.on_host_message(&loaded);
    kernel.data()->set_favourites_file(dir.filePath(QStringLiteral("kernel_favourites")));

    const double unchanged_us = measure("commit(), nothing changed", 200, [&] { kernel.commit(); });

    // A changed commit as a user makes it: the host's event loop runs between two
    // edits, and in that idle time the kernel makes the next segment ahead. The
    // commit and that idle work are timed apart; so is the end of a published
    // segment, which a later purge destroys once its minute is over.
    uint8_t volume = 0;
    std::vector<double> commit_times, idle_times, expiry_times;
    for (int i = 0; i < 203; ++i) {
        using clock = std::chrono::steady_clock;
        kernel.data()->name(0).volume() = ++volume;
        const auto start = clock::now();
        kernel.commit();
        const auto committed = clock::now();
        QCoreApplication::processEvents();
        const auto idle_done = clock::now();
        kernel.pool().purge(-1); // every published segment, as if its minute were over
        const auto expired = clock::now();
        if (i < 3)
            continue; // warm-up
        using us = std::chrono::duration<double, std::micro>;
        commit_times.push_back(us(committed - start).count());
        idle_times.push_back(us(idle_done - committed).count());
        expiry_times.push_back(us(expired - idle_done).count());
    }
    const auto median = [](std::vector<double> v) {
        std::nth_element(v.begin(), v.begin() + long(v.size() / 2), v.end());
        return v[v.size() / 2];
    };
    const double changed_us = median(commit_times);
    const double idle_us = median(idle_times);
    const double expiry_us = median(expiry_times);
    std::printf("%-34s %10.1f us  (median of %zu)\n", "commit(), one value changed", changed_us,
                commit_times.size());
    std::printf("%-34s %10.1f us\n", "  idle after it: next segment", idle_us);
    std::printf("%-34s %10.1f us\n", "  a published segment's end", expiry_us);
    // With no segment made ahead left (two commits used both without idle time in
    // between; here the pool is cleared) the segment is made inside the commit.
    const double no_idle_us = measure("commit(), changed, no idle time", 200, [&] {
        kernel.data()->name(0).volume() = ++volume;
        kernel.commit();
        kernel.pool().clear(); // publishing keeps segments for a minute; do not pile them up
    });
    std::printf("commit / floor: %.2f unchanged, %.2f changed, %.2f changed without idle time\n",
                unchanged_us / floor_us, changed_us / floor_us, no_idle_us / floor_us);
    // While segments are made ahead, an expired segment ends in the idle work as well.
    std::printf("idle work after a changed commit / floor: %.2f (next segment %.2f, an expired "
                "segment's end %.2f)\n",
                (idle_us + expiry_us) / floor_us, idle_us / floor_us, expiry_us / floor_us);

    // A sensor command (one int, 4 bytes) published between two commits, as the
    // surface tuning does: the command, then the next commit at once, then the
    // idle work that follows both. Timed apart, medians.
    {
        using clock = std::chrono::steady_clock;
        using us = std::chrono::duration<double, std::micro>;
        QByteArray command;
        {
            QDataStream out(&command, QIODevice::WriteOnly);
            out.setVersion(QDataStream::Qt_5_15);
            out << qint32(6);
        }
        std::vector<double> command_times, commit_times, idle_times;
        for (int i = 0; i < 203; ++i) {
            kernel.pool().purge(-1);
            QCoreApplication::processEvents(); // the segments ahead are ready
            QBuffer buffer(&command);
            buffer.open(QIODevice::ReadOnly);
            kernel.data()->name(0).volume() = ++volume;
            const auto start = clock::now();
            kernel.publish_blob(&buffer);
            const auto sent = clock::now();
            kernel.commit();
            const auto committed = clock::now();
            QCoreApplication::processEvents();
            const auto idle_done = clock::now();
            if (i < 3)
                continue;
            command_times.push_back(us(sent - start).count());
            commit_times.push_back(us(committed - sent).count());
            idle_times.push_back(us(idle_done - committed).count());
        }
        const double command_us = median(command_times);
        const double after_us = median(commit_times);
        const double refill_us = median(idle_times);
        std::printf("%-34s %10.1f us\n", "sensor command (4 bytes)", command_us);
        std::printf("%-34s %10.1f us\n", "  commit right after it", after_us);
        std::printf("%-34s %10.1f us\n", "  idle after both", refill_us);
        std::printf("after a sensor command / floor: command %.2f, commit %.2f, idle %.2f\n",
                    command_us / floor_us, after_us / floor_us, refill_us / floor_us);
    }

    // Where a changed commit's time beyond the floor goes without a segment made
    // ahead: the fresh segment the host reads, which the operating system creates
    // and backs with new pages on the first write, and the blob copied in.
    QBuffer published(&blob);
    published.open(QIODevice::ReadOnly);
    const double publish_us = measure("publish_blob, segment destroyed", 200, [&] {
        kernel.publish_blob(&published);
        kernel.pool().clear();
    });
    const double segment_us = measure("bare segment: create, fill, destroy", 200, [&] {
        QSharedMemory segment(QStringLiteral("quil_bench_segment"));
        if (segment.create(blob.size()))
            std::memcpy(segment.data(), blob.constData(), size_t(blob.size()));
    });
    std::printf("publishing / floor: %.2f, of which the bare segment %.2f\n", publish_us / floor_us,
                segment_us / floor_us);
    return 0;
}
