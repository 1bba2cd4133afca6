// Interfaces of the side-panel layout editor: what its palette blocks and drags tell a
// drop target, and what the editor tells the forms that follow the layout.
#pragma once

#include "module/interfaces.h"

#include <cstdint>

// The editor as its owner form drives its history.
class jigsawParent_i : public interface_i {
public:
    // 2, 3: one step forward / back in the layout history.
    virtual void redo() = 0;
    virtual void undo() = 0;

protected:
    ~jigsawParent_i() = default;
};

// What a dragged side-panel block carries. A plain interface: drop targets reach it from
// the drag's source object.
class jigsaw_i {
public:
    // 0: 1 single, 2 double.
    virtual int32_t block_kind() = 0;
    // 1: the panel slot (1..12) the block was lifted from; 0 for a palette block.
    virtual int32_t origin_slot() = 0;
    // 2: whether the panel itself may take the drop (exactly one block carried).
    virtual bool accepts_panel_drop() = 0;

protected:
    ~jigsaw_i() = default;
};

// Told by the layout editor about every change of the side-panel layout.
class btn_jigsaw_listener_i : public interface_i {
public:
    // 2: side button `button_index` (8..19) is fitted or not.
    virtual void on_button_fitted(int32_t button_index, bool fitted) = 0;
    // 3: the pair whose first button is `first_button_index` (8, 10 .. 18) is a double or not.
    virtual void on_pair_kind(int32_t first_button_index, bool is_double) = 0;
    // 4: undo (is_undo) or redo is possible or not.
    virtual void on_undo_redo_state(bool is_undo, bool enabled) = 0;

protected:
    ~btn_jigsaw_listener_i() = default;
};
