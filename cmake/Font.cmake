# Glyph tables compiled into the program: the code page 437 faces of the
# console fonts (8x8 and 8x16 cells) are converted at build time by a small
# host program; nothing reads a font file at run time.
set(QELVAR_FONT_DIR /usr/share/consolefonts CACHE PATH "Directory of the PSF console fonts")
set(QELVAR_FONT_8X8 ${QELVAR_FONT_DIR}/Uni2-VGA8.psf.gz CACHE FILEPATH "8x8 PSF font (gzip)")
set(QELVAR_FONT_8X16 ${QELVAR_FONT_DIR}/FullGreek-VGA16.psf.gz CACHE FILEPATH "8x16 PSF font (gzip)")
foreach(font ${QELVAR_FONT_8X8} ${QELVAR_FONT_8X16})
  if(NOT EXISTS ${font})
    message(FATAL_ERROR "Console font ${font} not found (Debian package console-setup-linux)")
  endif()
endforeach()

set(QELVAR_GENERATED_DIR ${CMAKE_CURRENT_BINARY_DIR}/generated)
set(QELVAR_FONT_SOURCE ${QELVAR_GENERATED_DIR}/font_glyphs.cpp)
file(MAKE_DIRECTORY ${QELVAR_GENERATED_DIR})

add_executable(font_table_gen gen/font_table_gen.cpp)
target_include_directories(font_table_gen PRIVATE src)

foreach(size 8X8 8X16)
  string(TOLOWER ${size} lower)
  set(psf_${size} ${QELVAR_GENERATED_DIR}/font${lower}.psf)
  add_custom_command(OUTPUT ${psf_${size}}
    COMMAND sh -c "gzip -dc \"$0\" > \"$1\"" ${QELVAR_FONT_${size}} ${psf_${size}}
    DEPENDS ${QELVAR_FONT_${size}}
    COMMENT "Unpacking ${QELVAR_FONT_${size}}"
    VERBATIM)
endforeach()

add_custom_command(OUTPUT ${QELVAR_FONT_SOURCE}
  COMMAND font_table_gen ${QELVAR_FONT_SOURCE} ${psf_8X8} ${psf_8X16}
  DEPENDS font_table_gen ${psf_8X8} ${psf_8X16}
  COMMENT "Generating the code page 437 glyph tables"
  VERBATIM)
