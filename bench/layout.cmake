# Laying out page texts: full layout and relayout after typing one character.
orvo_benchmark(layout ${CMAKE_CURRENT_LIST_DIR}/layout.cpp DEPENDS orvo_textbox)
