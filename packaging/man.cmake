# Manual pages made from a program's own --help and --version by help2man, at build time (its texts
# read as UTF-8), and installed gzipped in section 1:
#   corvela_man_page(TARGET "one-line description" [INCLUDE FILE.h2m])
# FILE.h2m adds sections of its own (help2man's --include format).
include(GNUInstallDirs)
find_program(HELP2MAN help2man REQUIRED)

function(corvela_man_page target description)
  cmake_parse_arguments(PARSE_ARGV 2 page "" "INCLUDE" "")
  set(dir ${PROJECT_BINARY_DIR}/man)
  set(page ${dir}/${target}.1)
  set(extra)
  if(page_INCLUDE)
    set(extra --include ${page_INCLUDE})
  endif()
  add_custom_command(OUTPUT ${page}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
    COMMAND ${HELP2MAN} --no-info --locale=C.UTF-8 --section 1 --name ${description} ${extra}
            --output ${page} $<TARGET_FILE:${target}>
    COMMAND gzip -9nf ${page}
    DEPENDS ${target} ${page_INCLUDE}
    COMMENT "Página de manual de ${target}"
    VERBATIM)
  add_custom_target(${target}_man ALL DEPENDS ${page}.gz)
  install(FILES ${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endfunction()
