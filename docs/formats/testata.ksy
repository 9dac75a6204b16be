meta:
  id: testata
  title: Train header file of a scenario (NAME_NUMBER.sim)
  file-extension: sim
  endian: le
  encoding: windows-1252
doc: |
  The 87 header records 0 to 86, in order, each 34 bytes plus the length of
  its text; nothing before, between or after them. Records 1 upward hold the
  stations in the order of the train source, records 80 downward the texts of
  the signs, 81 to 83 the chainage references, 84 the train and route
  figures, 85 the scenario, 86 the train. Record 0 has no role and is 34 zero
  bytes.
doc-ref: docs/formats.md
seq:
  - id: voci
    type: voce(_index)
    repeat: expr
    repeat-expr: 87
  - id: resto
    size-eos: true
    valid:
      expr: _.length == 0
    doc: Nothing follows record 86.
types:
  voce:
    params:
      - id: indice
        type: u1
        doc: The record's index, 0 to 86; it gives the record its role.
    seq:
      - id: tipo
        type: u1
        doc: "Station: the kind of stop (2nd field of its line)."
      - id: primo
        type: s4
        doc: |
          Station: start of its area, m. 81..83: route position, m. 84: braked
          mass, %. 85: background one. 86: signal repetition value one, m.
      - id: secondo
        type: s4
        doc: |
          Station: end of its area, m. 81..83: chainage, m. 84: route length
          L, m. 85: background three. 86: signal repetition value two, m.
      - id: terzo
        type: s4
        doc: |
          Station: its position, m (1st field). 81..83: the reference's third
          value. 84: number of cars. 85: background two. 86: number of codes
          (4 or 9; 0 when value two is 0).
      - id: marca
        type: u1
        doc: "Station: 4th field."
      - id: lunghezza_nome
        type: u2
        doc: Length of nome in bytes.
      - id: nome
        type: str
        size: lunghezza_nome
        doc: |
          Station: its name. Sign record: the sign's text. 85: the scenario
          name. 86: the train number. Windows-1252, one byte a character.
      - id: intero1
        type: s2
        doc: "Station: 7th field. 85: the stamp 610. 86: sand."
      - id: intero2
        type: s2
        doc: "Station: 8th field."
      - id: intero3
        type: s2
        doc: "Station: 10th field. 86: clock hours."
      - id: intero4
        type: s2
        doc: "Station: 11th field. 86: clock minutes."
      - id: intero5
        type: s2
        doc: "Station: 12th field. 86: clock seconds."
      - id: opzione1
        type: u1
        doc: "Station: 9th field."
      - id: opzione2
        type: u1
        doc: "Station: 13th field."
      - id: opzione3
        type: u1
        doc: "Station: 6th field (0 for kinds 5 to 8 and for station 1)."
      - id: opzione4
        type: u1
        doc: "Station: 5th field (0 when the station is shorter than 600 m, and for station 1)."
      - id: orario
        type: s4
        doc: |
          Station: scheduled time, seconds after midnight. 85: the
          position-weighted competition code.
    instances:
      numeri_a_zero:
        value: |
          tipo == 0 and primo == 0 and secondo == 0 and terzo == 0 and marca == 0
          and intero1 == 0 and intero2 == 0 and intero3 == 0 and intero4 == 0 and intero5 == 0
          and opzione1 == 0 and opzione2 == 0 and opzione3 == 0 and opzione4 == 0 and orario == 0
        doc: Every number of the record is 0.
      ruolo:
        value: |
          indice == 0 ? 0 :
          indice <= 80 ? (numeri_a_zero ? (lunghezza_nome == 0 ? 3 : 2) : 1) :
          indice <= 83 ? 4 :
          indice - 79
        enum: ruolo_voce
        doc: |
          The record's role. Records 1 to 80 are told apart by content: an
          empty record is free, one with a text and no number a sign's, any
          other a station's.
enums:
  ruolo_voce:
    0:
      id: nessun_ruolo
      doc: record 0, always cleared
    1:
      id: stazione
      doc: a station, records 1 upward
    2:
      id: cartello
      doc: a sign's text, records 80 downward
    3:
      id: vuota
      doc: a free record between the stations and the signs
    4:
      id: riferimento_progressiva
      doc: records 81 to 83, the chainage references, ordered
    5:
      id: treno_e_percorso
      doc: record 84
    6:
      id: scenario
      doc: record 85
    7:
      id: treno
      doc: record 86
