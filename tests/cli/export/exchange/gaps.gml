graph [
  directed 0
  label "samples/gaps"
  positions "drawing"
  node [
    id 1
    label "&#1040;&#1083;&#1100;&#1092;&#1072;"
    graphics [ x 100 y 100 ]
  ]
  node [
    id 3
    label "&#1043;&#1072;&#1084;&#1084;&#1072;"
    graphics [ x 500 y 100 ]
  ]
  node [
    id 4
    label "&#1044;&#1077;&#1083;&#1100;&#1090;&#1072;"
    graphics [ x 100 y 300 ]
  ]
  node [
    id 6
    label "&#1044;&#1079;&#1077;&#1090;&#1072;"
    graphics [ x 500 y 300 ]
  ]
  node [
    id 7
    label "&#1069;&#1090;&#1072;"
    graphics [ x 300 y 450 ]
  ]
  edge [
    source 1
    target 3
    capacity 10000
  ]
  edge [
    source 3
    target 6
    capacity 10000
  ]
  edge [
    source 4
    target 7
    capacity 5000
  ]
  edge [
    source 7
    target 6
    capacity 10000
  ]
  edge [
    source 1
    target 6
    capacity 5000
  ]
  demand [
    source 1
    target 6
    value 3000
  ]
  demand [
    source 4
    target 3
    value 2000
  ]
  demand [
    source 6
    target 4
    value 2500
  ]
  demand [
    source 7
    target 1
    value 1500
  ]
]
