// The host's text table: every text the module asks for by number, plus the
// stand-in host's own window texts, in each language the host speaks.
#pragma once

#include <QList>
#include <QString>
#include <cstdint>

namespace host_texts {

inline constexpr int32_t english = 0;
inline constexpr int32_t german = 3;

// Languages that have their own column in the table, ascending.
QList<int32_t> languages();
// Every text id in the table, ascending.
QList<int32_t> ids();
// The text in the language; a language without a column reads English.
// An id the table lacks gives a null text.
QString text(int32_t id, int32_t language);
// A counted text: its row holds the form for one and the form for any other
// count, split by '|', and %n stands for the count ("%n group|%n groups").
QString plural(int32_t id, int count, int32_t language);

} // namespace host_texts

// Ids of the host's own texts; they stay clear of the numbers the module uses.
namespace host_text {
enum : int32_t {
    window_title = 10000,
    overview_tab,
    edition,
    language,
    black_edition,
    white_edition,
    module_panel,
    registered_classes,
    class_id,
    class_object,
    white_kernel,
    black_kernel,
    profile_object,
    unknown_class,
    nothing_registered,
    catalogue_panel,
    products,
    product_type,
    alias,
    display_name,
    product_id,
    update_id,
    languages,
    language_id,
    language_name,
    language_file,
    module_loaded,
    module_not_loaded,
    catalogue_missing,
    catalogue_summary,
    module_file,
    pages_pending,
    centre_section,
    centre_language,
    centre_listeners,
    centre_profile_slot,
    centre_commands,
    no_slot,
    catalogue_file,
    device_tab,
    profiles_panel,
    slots_in_use,
    free_slot,
    current_slot,
    add_profile,
    insert_profile,
    delete_profile,
    rename_profile,
    import_profile,
    export_profile,
    rename_title,
    rename_prompt,
    import_title,
    export_title,
    profile_filter,
    import_done,
    export_done,
    operation_failed,
    mouse_panel,
    mouse_edition,
    mouse_memory,
    memory_factory,
    memory_bytes,
    memory_checksum,
    memory_note,
    memory_file,
    last_command,
    no_command,
    command_reset,
    command_changed,
    command_switch_on,
    command_switch_off,
    command_tuning,
    command_other,
    commits_published,
    no_kernel,
    macros_tab,
    macro_library_panel,
    macro_summary,
    macro_column_name,
    macro_column_keys,
    new_group,
    new_macro,
    macro_rename,
    macro_delete,
    group_name_prompt,
    macro_name_prompt,
    macro_keys_prompt,
    entry_name_prompt,
    name_taken,
    // Outcomes of the device tab's file and profile operations.
    no_profile_in_slot,
    file_too_large,
    file_not_a_profile,
    profile_not_written,
    file_unreadable,
    file_unwritable,
    // Counted texts (host_texts::plural).
    group_count,
    macro_count,
    class_count,
    product_count,
    language_count,
    // Questions and notes around a person's profiles.
    delete_title,
    delete_question,
    replace_title,
    replace_question,
    replace_button,
    import_into_new,
    profile_default_name,
    name_label,
    name_limit,
    name_empty,
    name_cut,
    renamed,
    added,
    inserted,
    deleted,
    selected,
    // Messages a person makes the virtual mouse send.
    messages_section,
    messages_note,
    message_reload,
    message_values,
    message_dpi_button,
    message_calibration_ok,
    message_calibration_failed,
    message_sent,
    message_dpi_sent,
    message_not_sent,
    message_memory_unreadable,
    // The macro key editor.
    macro_column_types,
    edit_keys,
    key_editor_title,
    new_group_title,
    untypeable,
    other_keys,
    keys_saved,
    // The command line.
    cli_description,
    cli_help,
    cli_version,
    cli_screenshot,
    cli_edition,
    cli_language,
    cli_languages,
    cli_data,
    cli_unexpected,
    cli_unknown_edition,
    cli_bad_language,
    cli_no_language,
    cli_screenshot_folder,
    cli_no_display,
    shot_folder_failed,
    shot_write_failed,
    live_lighting,
    live_lighting_on,
    live_lighting_paused,
    profile_tile_tip,
    // A memory the virtual mouse could not read and kept aside.
    memory_aside,
    memory_kept_aside,
    memory_not_kept_aside,
    // The note koral leaves in a memory it initialised: the time, then the sentence.
    memory_note_time,
    memory_initialised_on,
};
} // namespace host_text
