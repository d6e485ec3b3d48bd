# Documents kept in their text form are built beside the binaries: dictionaries to ".qdx",
# collections to ".qcu" and containers to ".qpc", by the form's "type". Each text form and the
# lists are copied first, so that relative links and lists resolve among the built files; the
# dictionaries are built before the containers that gather them.
function(glossmith_dictionaries target source_dir output_dir)
  file(GLOB forms CONFIGURE_DEPENDS ${source_dir}/*.json)
  file(GLOB_RECURSE lists CONFIGURE_DEPENDS ${source_dir}/lists/*)
  set(copies)
  foreach(list ${lists})
    file(RELATIVE_PATH relative ${source_dir} ${list})
    add_custom_command(OUTPUT ${output_dir}/${relative}
      COMMAND ${CMAKE_COMMAND} -E copy_if_different ${list} ${output_dir}/${relative}
      DEPENDS ${list})
    list(APPEND copies ${output_dir}/${relative})
  endforeach()
  set(dictionaries)
  set(others)
  foreach(form ${forms})
    get_filename_component(name ${form} NAME_WE)
    file(READ ${form} content)
    string(JSON type ERROR_VARIABLE no_type GET ${content} type)
    if(type STREQUAL "container")
      set(ext .qpc)
    elseif(type STREQUAL "collection")
      set(ext .qcu)
    else()
      set(ext .qdx)
    endif()
    set(copy ${output_dir}/${name}.json)
    set(out ${output_dir}/${name}${ext})
    add_custom_command(OUTPUT ${copy}
      COMMAND ${CMAKE_COMMAND} -E copy_if_different ${form} ${copy}
      DEPENDS ${form})
    list(APPEND copies ${copy})
    if(ext STREQUAL .qdx)
      list(APPEND dictionaries ${out})
    else()
      list(APPEND others ${out})
    endif()
    set(${name}_out ${out})
    set(${name}_copy ${copy})
    list(APPEND names ${name})
  endforeach()
  foreach(name ${names})
    set(out ${${name}_out})
    set(after ${copies})
    if(NOT out IN_LIST dictionaries)
      list(APPEND after ${dictionaries})
    endif()
    add_custom_command(OUTPUT ${out}
      COMMAND glossmith build ${${name}_copy} -o ${out}
      DEPENDS glossmith ${after}
      COMMENT "Building ${name}")
  endforeach()
  add_custom_target(${target} ALL DEPENDS ${dictionaries} ${others})
  set(${target}_containers ${others} PARENT_SCOPE)
endfunction()
