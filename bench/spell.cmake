# Spell checking a generated 5,000-page hypertext with the Italian dictionary, beside the
# hunspell program on the same pages' text export.
orvo_benchmark(spell ${CMAKE_CURRENT_LIST_DIR}/spell_bench.cpp DEPENDS orvo_spell orvo_convert)
