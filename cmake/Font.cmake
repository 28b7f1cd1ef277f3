# Placeholder until the font generator lands: no generated sources yet.
set(QELVAR_GENERATED_DIR ${CMAKE_CURRENT_BINARY_DIR}/generated)
set(QELVAR_FONT_SOURCE "")
