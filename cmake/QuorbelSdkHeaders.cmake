# The headers of the SDK, shared by its desktop install (QuorbelSdk.cmake) and
# its browser install (QuorbelWebSdk.cmake):
#
#   include/quorbel/runtime.h           the one header a game includes, with the
#   include/quorbel/runtime/...         headers it needs in their source layout

# runtime/runtime.h and every runtime header it pulls in, followed through
# their #include "runtime/..." lines, so a header added to the chain later
# is installed without touching this file.
function(quorbel_sdk_headers out)
  set(pending runtime/runtime.h)
  set(found)
  while(pending)
    list(POP_FRONT pending header)
    if(header IN_LIST found)
      continue()
    endif()
    list(APPEND found ${header})
    set_property(DIRECTORY ${CMAKE_SOURCE_DIR} APPEND PROPERTY
      CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${header})
    file(STRINGS ${CMAKE_SOURCE_DIR}/${header} lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"runtime/")
    foreach(line IN LISTS lines)
      string(REGEX REPLACE "^[^\"]*\"(runtime/[^\"]+)\".*$" "\\1" included "${line}")
      list(APPEND pending ${included})
    endforeach()
  endwhile()
  set(${out} ${found} PARENT_SCOPE)
endfunction()

# runtime.h sits in include/quorbel/ and names the others "runtime/...", which
# resolves beside it; they name each other the same way, found through the
# include path include/quorbel that the package adds.
function(quorbel_sdk_install_headers component)
  quorbel_sdk_headers(headers)
  foreach(header IN LISTS headers)
    get_filename_component(folder ${header} DIRECTORY)
    if(header STREQUAL "runtime/runtime.h")
      set(folder "")
    endif()
    install(FILES ${CMAKE_SOURCE_DIR}/${header} DESTINATION include/quorbel/${folder}
      COMPONENT ${component})
  endforeach()
endfunction()
