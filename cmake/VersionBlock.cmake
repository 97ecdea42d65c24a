# SPDX-License-Identifier: MIT
# The program's version information: a block in the layout of the Windows version resource, built
# from PROJECT_VERSION with the translation 0804/03A8 and linked into the executable's ELF section
# ".bfs_version", where the about box reads it back from the file.

function(bfs_embed_version_block target)
  if(NOT TARGET bfs_make_version_block)
    add_executable(bfs_make_version_block
      ${PROJECT_SOURCE_DIR}/src/about/tools/MakeVersionBlock.cpp
      ${PROJECT_SOURCE_DIR}/src/about/VersionBlock.cpp)
    target_include_directories(bfs_make_version_block PRIVATE ${PROJECT_SOURCE_DIR}/src)
    set_target_properties(bfs_make_version_block PROPERTIES
      AUTOMOC OFF AUTOUIC OFF AUTORCC OFF RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
  endif()
  set(output ${CMAKE_CURRENT_BINARY_DIR}/${target}_version_block.cpp)
  add_custom_command(OUTPUT ${output}
    COMMAND bfs_make_version_block ${output} ${PROJECT_VERSION} 0804 03A8 "Body Fat Scale" body-fat-scale
    DEPENDS bfs_make_version_block
    COMMENT "Writing the version block of ${target}"
    VERBATIM)
  target_sources(${target} PRIVATE ${output})
  set_source_files_properties(${output} PROPERTIES SKIP_AUTOGEN ON)
endfunction()
