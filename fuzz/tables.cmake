# A table's cells from any markup: the table view reads, lays out, changes and restores them;
# the HTML of the same text closes every cell and table.
orvo_fuzz_target(table_markup ${CMAKE_CURRENT_LIST_DIR}/table_markup.cpp DEPENDS orvo_convert
                 orvo_objects)
