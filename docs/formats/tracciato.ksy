meta:
  id: tracciato
  title: Line file of a scenario (NAME_linea.dat), the plane coordinates of the track
  file-extension: dat
  endian: le
doc: |
  The plane coordinates of the track, one point a metre for metres 0 to M,
  M = L + 7000, L the route length in metres: first the x of every metre
  (metre 0 to M), then the y of every metre. Each coordinate is a tagged
  element: a 2-byte type code, then 0, 2 or 8 bytes of value. Nothing else is
  in the file, so the number of metres is known only by walking it: the
  elements are counted to the end of the file, and the y half starts at the
  element whose number is half the count. `conteggio` makes that first walk;
  `x` and `y` then read the two halves.

  A usual build: metres 0 and 1 are 16-bit integers ((0, 0) and (0, 1), the
  line starts at the origin heading along +y), metres 2 to M - 2 doubles, M - 1
  and M Empty; each half is 10 M - 18 bytes and the file 20 M - 36.
doc-ref: docs/formats.md
seq:
  - id: almeno_un_metro
    size: 0
    valid:
      expr: _root.metri >= 1
    doc: A line file holds at least one metre (two elements).
  - id: x
    type: elemento
    repeat: expr
    repeat-expr: metri
    doc: x of metres 0 to M, in metres.
  - id: y
    type: elemento
    repeat: expr
    repeat-expr: metri
    doc: y of metres 0 to M, in metres.
  - id: resto
    size-eos: true
    valid:
      expr: _.length == 0
    doc: Nothing follows the y half (an odd count of elements leaves one here).
instances:
  conteggio:
    pos: 0
    size-eos: true
    type: tutti_gli_elementi
    doc: The first walk, over every element of the file, to count them.
  metri:
    value: conteggio.elementi.size / 2
    doc: M + 1, the number of metres.
types:
  tutti_gli_elementi:
    seq:
      - id: elementi
        type: elemento
        repeat: eos
  elemento:
    seq:
      - id: codice
        type: u2
        enum: tipo_elemento
        valid:
          any-of:
            - tipo_elemento::vuoto
            - tipo_elemento::intero
            - tipo_elemento::doppio
      - id: valore
        type:
          switch-on: codice
          cases:
            tipo_elemento::intero: s2
            tipo_elemento::doppio: f8
        doc: Absent for an Empty element.
enums:
  tipo_elemento:
    0:
      id: vuoto
      doc: Empty, no value; a metre never computed (normally M - 1 and M)
    2:
      id: intero
      doc: a 16-bit integer; metres 0 and 1
    5:
      id: doppio
      doc: an IEEE 754 double; every metre computed from metre 2 on
