// The host's product catalogue (settings.xml) as the module reads it at start-up. The first
// byte chooses what the rest is: odd, the file's bytes as they are (the inflater meets them
// first); even, the XML, compressed here the way the host ships it, so that the fuzzer reaches
// the XML reader behind the inflater.
#include "fuzz_support.h"
#include "module/global_func.h"

#include <QFile>

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString folder = fuzz_setup();
    if (size == 0)
        return 0;
    static global_func_c installation(folder, folder);
    const QByteArray rest = fuzz_bytes(data + 1, size - 1);
    {
        QFile file(installation.catalogue_file());
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write((data[0] & 1) ? rest : qCompress(rest));
    }
    installation.load_catalogue();

    const QList<int32_t> languages = installation.language_ids();
    FUZZ_CHECK(std::is_sorted(languages.begin(), languages.end()));
    for (int32_t type : installation.product_types()) {
        const global_func_c::product_t* product = installation.product(type);
        FUZZ_CHECK(product);
        // A product always has an updating pid and a name to show when it has a pid or a file.
        FUZZ_CHECK(product->pid == 0 || product->updating_pid != 0);
        FUZZ_CHECK(product->dll_name.isEmpty() || !product->disp_name.isEmpty());
        const int device_class = installation.device_class(product->pid);
        FUZZ_CHECK(device_class >= -1 && device_class <= 3);
    }
    // The host itself is never one of the listed products.
    for (const QList<int32_t>& list : {installation.ovra_products(), installation.m_key_products(),
                                       installation.t_key_products()})
        FUZZ_CHECK(!list.contains(1));
    return 0;
}
