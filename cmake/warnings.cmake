# Warnings on every target, the same set natively and for MinGW.
function(project_warnings target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wshadow -Wconversion -Wsign-conversion -Wreturn-type
    -Wnon-virtual-dtor -Wold-style-cast -Wcast-align -Wnull-dereference)
endfunction()
